#pragma once
// The keys the core and the dialog manager name, as Windows virtual key
// codes (every host translates its own key numbers into these), and the
// modifier bits events carry.

namespace pictavo::platform::keys {

constexpr int kBackspace = 8;
constexpr int kTab = 9;
constexpr int kEnter = 13;
constexpr int kShiftKey = 16;
constexpr int kControlKey = 17;
constexpr int kAltKey = 18;
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kPageUp = 33;
constexpr int kPageDown = 34;
constexpr int kEnd = 35;
constexpr int kHome = 36;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr int kDelete = 46;

// Modifier bits, as Event::shift carries them.
constexpr int kShift = 1;
constexpr int kCtrl = 2;
constexpr int kAlt = 4;

constexpr bool isArrow(int key) {
    return key >= kLeft && key <= kDown;
}
// Letters are their upper-case character, digits their character.
constexpr bool isLetterOrDigit(int key) {
    return (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
}

}  // namespace pictavo::platform::keys
