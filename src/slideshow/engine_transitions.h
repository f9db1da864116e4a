#pragma once
// The slide show's transitions drawn by the transition engine.

#include "platform/host.h"
#include "slideshow/transition_runner.h"
#include "state/saver_state.h"
#include "transitions/trace.h"

namespace pictavo::slideshow {

class EngineTransitions : public TransitionRunner {
  public:
    EngineTransitions(platform::Host& host, SaverState& state) : host_(host), state_(state) {}

    void Transition(int16_t effect, platform::Surface& picture1,
                    platform::Surface& picture2) override;
    // Records every drawing call and pause of later transitions (nullptr: none).
    void setTrace(transitions::TraceSink* trace) { trace_ = trace; }

  private:
    platform::Host& host_;
    SaverState& state_;
    transitions::TraceSink* trace_ = nullptr;
};

}  // namespace pictavo::slideshow
