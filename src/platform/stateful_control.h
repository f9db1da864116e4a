#pragma once
// The part of a control every host implements alike: its layout row and the
// properties that read straight back from its state. Hosts derive from it
// and add the native side of each change.

#include <string>
#include <utility>
#include <vector>

#include "platform/control_state.h"
#include "platform/forms.h"

namespace pictavo::platform {

class StatefulControl : public Control {
  public:
    const ControlSpec& design() const final { return spec_; }
    bool enabled() const final { return state_.enabled; }
    bool visible() const final { return state_.visible; }
    TwipsRect bounds() const final { return state_.rect; }
    int interval() const final { return state_.interval; }
    std::vector<std::string> items() const final { return state_.items; }

  protected:
    explicit StatefulControl(ControlSpec design) : spec_(std::move(design)), state_(spec_) {}

    ControlSpec spec_;
    ControlState state_;
};

}  // namespace pictavo::platform
