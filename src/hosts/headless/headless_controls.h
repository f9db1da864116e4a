#pragma once
// The native side of each control on the headless host, by role: most
// kinds only keep their state (the core's Control holds it), a picture box
// has a surface in memory, a timer runs on the fake clock, and the kinds a
// user edits with keys (text boxes, lists, scroll bars) do that editing the
// way the desktop toolkits do, so scripted keys act as real ones.

#include <memory>

#include "hosts/shared/memory_surface.h"
#include "platform/native_control.h"

namespace pictavo::platform {
class Control;
}

namespace pictavo::platform::headless {

class HeadlessForm;

class HeadlessRole : public NativeControl {
  public:
    // A control with a native window of its own, a child of the form's.
    HeadlessRole(HeadlessForm& form, Control& control);
    void update(Properties) override {}
    WindowHandle handle() const override { return handle_; }
    // A key the dialog left to the control (arrows, Backspace); true when used.
    virtual bool key(int /*key*/) { return false; }
    // A character typed into it; true when used.
    virtual bool character(char32_t /*code*/) { return false; }
    // The form went: timers stop.
    virtual void unloaded() {}

  protected:
    // A control without a window (a timer).
    struct NoWindow {};
    HeadlessRole(HeadlessForm& form, Control& control, NoWindow)
        : form_(form), control_(control), handle_(0) {}

    HeadlessForm& form_;
    Control& control_;
    WindowHandle handle_;
};

// The role for a control, from the table of kinds.
std::unique_ptr<HeadlessRole> makeHeadlessRole(HeadlessForm& form, Control& control);

}  // namespace pictavo::platform::headless
