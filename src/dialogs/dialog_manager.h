#pragma once
// How a form treats the keyboard, the focus and the clicks of its buttons,
// the same on every host. The backend feeds it the raw input its platform
// delivers (keys going down and up, characters, clicks, the focus moving,
// the user editing a control) and does what it is told: a key the manager
// takes goes no further; any other goes to the focused native control,
// which edits text, scrolls a list or moves its selection itself.
//
// What it owns:
// - key preview: with the layout's keyPreview the form's handler sees
//   KeyDown and KeyPress first (control ""); setting the key to 0 swallows it;
// - Tab and Shift+Tab over the enabled, visible tab stops in tab-index
//   order; the options of one container are one stop, at the chosen one;
// - the arrow keys inside an option group: the option reached is chosen
//   and clicked, as a Windows dialog does;
// - access keys ("&Help"): with Alt, or alone while the focus is on a
//   control that takes no typing; a label hands the focus to the control
//   after it, a button, check box or option takes the focus and is clicked;
// - Enter: a focused text box sees it first as a KeyPress the handler may
//   swallow; a focused folder list opens its selected folder; a focused
//   button is pressed; otherwise the default button when it is enabled;
// - Esc: a focused text box first, then the cancel button;
// - Space: presses the focused button, check box or option when it is let go;
// - the focus when the form is shown: where the core put it, else the first
//   tab stop; and back there when the form gets the keyboard again;
// - no input at all while a modal form of the program is up.

#include <memory>
#include <string>
#include <string_view>

#include "platform/control.h"

namespace pictavo::platform {

class FormBase;

// The key a caption's "&" marks, in lower case ("S&tretch": 't'); 0 when it
// marks none ("&&" is an ampersand).
char captionAccessKey(std::string_view caption);

class DialogManager {
  public:
    explicit DialogManager(FormBase& form) : form_(form) {}

    // ---- raw input from the backend ----
    // True when the manager took the key (or the character): the platform
    // must not handle it. key and code may come back changed by the handler.
    bool keyDown(int& key, int shift);
    bool keyUp(int key, int shift);
    bool character(int& code, int shift);
    // The platform put its focus into this control (a click into a text box).
    void focusMoved(Control& control);
    // The form's window got the keyboard back: the focus returns to its control.
    void activated();
    // The user clicked a button, check box, option or label. The native
    // control changed nothing itself: a check box toggles here.
    void clicked(Control& control);
    void doubleClicked(Control& control);
    // The user changed a control with the platform's own editing.
    void typed(Control& control, const std::string& text);
    void scrolled(Control& control, int value);
    void selected(Control& control, int index);
    void closeRequested();
    // The form is on screen and can take the focus.
    void shown();

    // ---- from the core ----
    void focus(Control& control);
    // Where the keyboard focus is, as far as the form knows; nullptr: none.
    Control* focused() const { return focused_; }
    // Whether the control can have the focus now (a tab stop that is
    // enabled and shown, in shown and enabled containers).
    bool canFocus(const Control& control) const;

  private:
    bool previewKey(int& key, int shift);
    bool previewCharacter(int& code, int shift);
    void moveByTab(bool backwards);
    bool accessKey(int key, int shift);
    void focusAfterLabel(const Control& label);
    void arrowInGroup(Control& option, int key);
    void enter();
    void escape();
    // A click from the keyboard: a check box toggles, an option is chosen.
    void press(Control& control);
    void takeFocus(Control& control);
    // The stop that stands for control in the tab order: an option group's chosen option.
    Control* stopFor(Control& control) const;
    bool responsive(const Control& control) const;
    bool live() const;

    FormBase& form_;
    Control* focused_ = nullptr;
    Control* spaceDown_ = nullptr;
    bool shown_ = false;
};

}  // namespace pictavo::platform
