#pragma once
// A handler that records what a form reports, and a layout with every kind
// of control, for the host's form tests.

#include <functional>
#include <string>
#include <vector>

#include "platform/forms.h"

namespace pictavo::testing {

class RecordingHandler : public platform::FormHandler {
  public:
    void onEvent(platform::Form& form, platform::Event& event) override {
        events.push_back(event);
        if (react) react(form, event);
    }
    // "Click Command1", "KeyDown 65", "MouseMove Picture2 12,7" ...
    std::vector<std::string> described() const;
    int count(platform::EventType type, const std::string& control = "") const;
    const platform::Event* last(platform::EventType type) const;
    void clear() { events.clear(); }

    std::vector<platform::Event> events;
    std::function<void(platform::Form&, platform::Event&)> react;
};

// 400 x 300 pixels at 15 twips per pixel: labels, text boxes, a check box,
// options on the form and in a panel, a scroll bar, the three lists, a
// picture, a shape, a line, default and cancel buttons and a timer.
platform::FormSpec everyKindLayout();

}  // namespace pictavo::testing
