#pragma once
// A show without the transition engine: the new slide replaces the old at
// once, after one look at the message loop as every transition step takes.

#include "platform/event_loop.h"
#include "slideshow/transition_runner.h"

namespace pictavo::slideshow {

class CutTransitions : public TransitionRunner {
  public:
    explicit CutTransitions(platform::EventLoop& loop) : loop_(loop) {}
    void Transition(int16_t effect, platform::Surface& picture1,
                    platform::Surface& picture2) override {
        if (effect < 0 || effect > 42) return;
        loop_.doEvents();
        if (loop_.endRequested()) return;
        picture2.copyFrom(picture1, 0, 0, picture1.width(), picture1.height(), 0, 0);
        picture2.present();
    }

  private:
    platform::EventLoop& loop_;
};

}  // namespace pictavo::slideshow
