#pragma once
// What the form tests share: a handler that records every event, and short
// ways to write a layout.

#include <functional>
#include <string>
#include <vector>

#include "hosts/win32/handles.h"
#include "platform/forms.h"

namespace pictavo::platform::win32 {

class RecordingHandler : public FormHandler {
  public:
    // Records each event as the handler left it.
    void onEvent(Form& form, Event& event) override {
        if (react) react(form, event);
        events.push_back(event);
    }
    std::vector<EventType> types() const {
        std::vector<EventType> result;
        for (const Event& event : events) result.push_back(event.type);
        return result;
    }
    bool saw(EventType type, const std::string& control = "") const {
        for (const Event& event : events)
            if (event.type == type && event.control == control) return true;
        return false;
    }

    std::vector<Event> events;
    std::function<void(Form&, Event&)> react;
};

inline FormSpec dialogSpec(const std::string& caption) {
    FormSpec design;
    design.name = "TestForm";
    design.caption = caption;
    design.clientWidth = 4800;
    design.clientHeight = 3000;
    return design;
}

inline ControlSpec control(const std::string& name, ControlKind kind, TwipsRect rect,
                           int tabIndex = -1) {
    ControlSpec design;
    design.name = name;
    design.kind = kind;
    design.rect = rect;
    design.tabIndex = tabIndex;
    return design;
}

inline HWND hwndOf(const Form& form) {
    return toHwnd(form.handle());
}
inline HWND hwndOf(const Control& control) {
    return toHwnd(control.handle());
}

}  // namespace pictavo::platform::win32
