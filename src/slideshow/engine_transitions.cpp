#include "slideshow/engine_transitions.h"

#include "transitions/transition_engine.h"

namespace pictavo::slideshow {

void EngineTransitions::Transition(int16_t effect, platform::Surface& picture1,
                                   platform::Surface& picture2) {
    // The engine holds only references, so one per call costs nothing and
    // a transition started from another's pause runs on its own.
    transitions::TransitionEngine engine(picture1, picture2, state_, host_.screen(),
                                         host_.eventLoop(), host_.clock());
    engine.setTrace(trace_);
    engine.Transition(effect);
}

}  // namespace pictavo::slideshow
