#pragma once
// A window's answer to its events as a table: which event, from which
// control, runs which of the window's handlers. A reader finds every control
// a window listens to in one place, and each handler is named for what it
// does rather than for the control that calls it.

#include <cstddef>

#include "platform/forms.h"

namespace pictavo::platform {

// The control of an event the form raises itself (paint, resize, close).
inline constexpr const char* kFormItself = "";
// Matches the event whichever control (or the form) raised it.
inline constexpr const char* kAnyControl = nullptr;

template <class Window>
class Reaction {
  public:
    using Plain = void (Window::*)();
    using Reading = void (Window::*)(Event&);

    constexpr Reaction(EventType type, const char* control, Plain react)
        : type_(type), control_(control), plain_(react) {}
    // For handlers that read the event (a key, a position) or change it.
    constexpr Reaction(EventType type, const char* control, Reading react)
        : type_(type), control_(control), reading_(react) {}

    bool matches(const Event& event) const {
        return event.type == type_ && (control_ == kAnyControl || event.control == control_);
    }

    void run(Window& window, Event& event) const {
        if (plain_ != nullptr)
            (window.*plain_)();
        else
            (window.*reading_)(event);
    }

  private:
    EventType type_;
    const char* control_;
    Plain plain_ = nullptr;
    Reading reading_ = nullptr;
};

// Runs the first reaction that matches the event; others are ignored.
template <class Window, std::size_t N>
void react(Window& window, const Reaction<Window> (&reactions)[N], Event& event) {
    for (const Reaction<Window>& reaction : reactions)
        if (reaction.matches(event)) {
            reaction.run(window, event);
            return;
        }
}

}  // namespace pictavo::platform
