#pragma once
// One control of a live form: its layout row and what the core or the user
// last made of it. The core reads and sets the properties here; the native
// side the backend attached shows each change, and the user's own changes
// (typing, a check mark, a scroll position, a list row) come back through
// the form's dialog manager, which keeps this state and raises the events.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/control_state.h"
#include "platform/layout.h"
#include "platform/native_control.h"
#include "platform/surface.h"
#include "platform/types.h"

namespace pictavo::platform {

class Control;

// What a control asks of the form it lives on.
class ControlOwner {
  public:
    virtual ~ControlOwner() = default;
    // An option was set: the others of its container are cleared.
    virtual void optionChosen(Control& chosen) = 0;
    // The core asked for the keyboard focus here.
    virtual void focusRequested(Control& control) = 0;
};

class Control {
  public:
    Control(ControlSpec design, ControlOwner& owner);
    ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const ControlSpec& design() const { return spec_; }
    const std::string& name() const { return spec_.name; }

    std::string caption() const { return state_.caption; }
    void setCaption(const std::string& caption);
    // Text boxes: the text typed (never more than maxLength characters).
    std::string text() const { return state_.text; }
    void setText(const std::string& text);
    // Check box and option button 0/1 (1 clears the group's others), scroll
    // position within the bar's range.
    int value() const { return state_.value; }
    void setValue(int value);
    bool enabled() const { return state_.enabled; }
    void setEnabled(bool enabled);  // timers: running or not
    bool visible() const { return state_.visible; }
    void setVisible(bool visible);
    TwipsRect bounds() const { return state_.rect; }
    void move(const TwipsRect& rect);
    void setFocus();
    std::optional<Colour> foreColour() const { return state_.foreColour; }
    void setForeColour(Colour colour);

    // Timers.
    int interval() const { return state_.interval; }
    void setInterval(int milliseconds);

    // Drive, folder and file lists: the rows, chosen by the core, and how
    // far in each row is drawn (a folder tree); setting rows selects none.
    void setItems(std::vector<std::string> items, std::vector<int> indents = {});
    const std::vector<std::string>& items() const { return state_.items; }
    const std::vector<int>& indents() const { return state_.indents; }
    int selectedIndex() const { return state_.selected; }
    void setSelectedIndex(int index);

    // Shapes.
    int fillStyle() const { return state_.fillStyle; }
    std::optional<Colour> fillColour() const { return state_.fillColour; }
    void setFillStyle(int style);
    void setFillColour(Colour colour);

    // Picture boxes: the persistent image; nullptr for other kinds.
    Surface* surface();
    // The control's own native window, for parenting (0 when it has none).
    WindowHandle handle() const;

    // ---- for the form and its backend ----
    const ControlState& state() const { return state_; }
    void attach(std::unique_ptr<NativeControl> native);
    NativeControl* native() const { return native_.get(); }
    // What the user did with the platform's own editing. The state follows
    // without showing it again; true when it changed.
    bool userText(const std::string& text);
    bool userValue(int value);
    bool userSelection(int index);

  private:
    void changed(Properties what);
    int valueInRange(int value) const;

    ControlSpec spec_;
    ControlState state_;
    ControlOwner& owner_;
    std::unique_ptr<NativeControl> native_;
};

}  // namespace pictavo::platform
