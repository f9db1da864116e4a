#pragma once
// What the dialog contract needs of a host: its forms, and real input the
// way a user gives it there (X key and pointer events from xdotool on the
// desktop host, input messages on Windows, the headless host's scripted
// keys, which go through the same toolkit-like path).

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms.h"
#include "platform/host.h"

namespace pictavo::testing {

class DialogDriver {
  public:
    virtual ~DialogDriver() = default;
    virtual platform::Host& host() = 0;
    // Shows the form, not modal, and waits until it has the keyboard.
    virtual void show(platform::Form& form) = 0;
    // Keys as X names them, blank-separated, each pressed and let go:
    // "Tab", "shift+Tab", "alt+n", "Return", "Escape", "BackSpace",
    // "space", "Down", "x".
    virtual void keys(const std::string& strokes) = 0;
    // Letters, digits and blanks, typed.
    virtual void type(const std::string& text) = 0;
    // A click of the mouse on the control.
    virtual void click(platform::Form& form, const std::string& control) = 0;
    // A click, or a double-click, on a row of a list.
    virtual void clickRow(platform::Form& form, const std::string& list, int row, bool twice) = 0;
    // The control the platform's keyboard focus is in; "" for none.
    virtual std::string focused(platform::Form& form) = 0;
    // Runs script from inside the modal loop open() enters, then close()
    // when the script left the form open; returns when open() returns.
    virtual void duringModal(const std::function<void()>& open, const std::function<void()>& script,
                             const std::function<void()>& close) = 0;
};

// The driver of the host this test program is built for.
std::unique_ptr<DialogDriver> makeDialogDriver();

// One key going down and up: a virtual key code and the modifiers held
// (as platform::Event::shift has them).
struct Stroke {
    int key = 0;
    int shift = 0;
};
// "shift+Tab alt+n Return" as strokes; an unknown name is a test error.
std::vector<Stroke> parseStrokes(const std::string& strokes);
// The strokes that type text on a US keyboard (letters, digits, blanks).
std::vector<Stroke> strokesFor(const std::string& text);

}  // namespace pictavo::testing
