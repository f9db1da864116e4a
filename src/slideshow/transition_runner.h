#pragma once
// How the slide show asks for a transition. The transition engine sits
// behind this, so the show does not depend on how the effects are drawn.

#include <cstdint>

#include "platform/surface.h"

namespace pictavo::slideshow {

class TransitionRunner {
  public:
    virtual ~TransitionRunner() = default;
    // Brings picture1 (the staged slide) onto picture2 (the screen) with
    // effect 0..42; other numbers draw nothing. Yields to the message loop
    // between steps and returns early once the program is asked to end.
    virtual void Transition(int16_t effect, platform::Surface& picture1,
                            platform::Surface& picture2) = 0;
};

}  // namespace pictavo::slideshow
