#include "hosts/fltk/password_input.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>

namespace pictavo::platform::fltk {

namespace {

// The gap between the frame and the text, and the caret's width, as FLTK's
// own text boxes draw them.
constexpr int kTextGap = 1;
constexpr int kCaretWidth = 2;

bool continuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

PasswordInput::PasswordInput(int x, int y, int width, int height, char mask)
    : Fl_Secret_Input(x, y, width, height), mask_(mask != 0 ? mask : '*') {}

std::string PasswordInput::masked(const char* text, int bytes, char mask) {
    std::string out;
    for (int i = 0; i < bytes && text != nullptr; ++i)
        if (!continuationByte(text[i])) out += mask;
    return out;
}

int PasswordInput::charactersBefore(int bytes) const {
    return static_cast<int>(masked(value(), std::clamp(bytes, 0, size()), mask_).size());
}

void PasswordInput::draw() {
    const Fl_Boxtype frame = box();
    const bool active = active_r() != 0;
    draw_box(frame, color());  // greyed by FLTK itself when inactive
    const int left = x() + Fl::box_dx(frame) + kTextGap, top = y() + Fl::box_dy(frame);
    const int width = w() - Fl::box_dw(frame) - 2 * kTextGap, height = h() - Fl::box_dh(frame);
    if (width <= 0 || height <= 0) return;

    fl_font(textfont(), textsize());
    const std::string shown = masked(value(), size(), mask_);
    const int caret = charactersBefore(position()), other = charactersBefore(mark());
    auto offset = [&](int characters) {
        return static_cast<int>(fl_width(shown.c_str(), characters));
    };
    // The caret stays in view, as in a text box.
    const int caretX = offset(caret);
    if (caretX - scroll_ > width - 1) scroll_ = caretX - width + 1;
    if (caretX < scroll_) scroll_ = std::max(0, caretX - width / 2);
    scroll_ = std::max(0, std::min(scroll_, offset(static_cast<int>(shown.size())) - width + 1));

    fl_push_clip(left, top, width, height);
    const int baseline = top + (height - fl_height()) / 2 + fl_height() - fl_descent();
    const bool focused = Fl::focus() == this;
    if (focused && caret != other) {
        const int from = offset(std::min(caret, other)), to = offset(std::max(caret, other));
        fl_color(selection_color());
        fl_rectf(left + from - scroll_, top + (height - fl_height()) / 2, to - from, fl_height());
    }
    fl_color(active ? textcolor() : fl_inactive(textcolor()));
    fl_draw(shown.c_str(), static_cast<int>(shown.size()), left - scroll_, baseline);
    if (focused && caret == other && active) {
        fl_color(cursor_color());
        fl_rectf(left + caretX - scroll_, top + (height - fl_height()) / 2, kCaretWidth,
                 fl_height());
    }
    fl_pop_clip();
    draw_label();
}

}  // namespace pictavo::platform::fltk
