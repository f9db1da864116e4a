#pragma once
// The transition engine: Transition(effect) brings the slide staged in
// Picture1 onto Picture2 through one of 43 numbered effects.
//
// The engine holds only references and keeps no state between calls, so a
// transition started from a pause of another (a timer tick during an
// effect) runs on its own. Picture1 must hold the complete new slide (with
// ImageWidth and ImageHeight set for the stretch effects) before the call.
//
// Ending in the middle: the only yield inside a transition is the dispatch
// at the start of each pause. When a handler run there asks the program to
// end (EventLoop::requestEnd, after showing the cursor again), the effect
// stops right after that dispatch and Transition returns false without
// touching either picture again. The slide window must keep both pictures
// alive until Transition has returned; it asks for the end, it does not
// destroy them from inside the dispatch.

#include <string_view>

#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/screen.h"
#include "platform/surface.h"
#include "state/saver_state.h"
#include "transitions/trace.h"

namespace pictavo::transitions {

inline constexpr int kEffectCount = 43;
// Effects kFirstStretchEffect and up scale the image to the screen; the
// slide show only chooses them for stretched slides.
inline constexpr int kFirstStretchEffect = 32;

// The routine's name ("WipeDown", ...); empty outside 0..42.
std::string_view effectName(int effect);

class TransitionEngine {
  public:
    TransitionEngine(platform::Surface& picture1, platform::Surface& picture2, SaverState& state,
                     const platform::Screen& screen, platform::EventLoop& eventLoop,
                     platform::Clock& clock)
        : picture1_(picture1),
          picture2_(picture2),
          state_(state),
          screen_(screen),
          eventLoop_(eventLoop),
          clock_(clock) {}

    // Every later call records its drawing calls and pauses into trace
    // (nullptr: none).
    void setTrace(TraceSink* trace) { trace_ = trace; }

    // Draws the effect, then copies all of Picture1 onto Picture2 once, so
    // the new slide stands whole on screen even where the effect's own
    // pattern leaves a margin of the old one. A number outside 0..42 draws
    // nothing. Returns false when the program's end stopped the effect.
    bool Transition(int effect);

    // Only the effect's own pattern, exactly as its table gives it, without
    // the closing copy: for looking at what the pattern covers.
    bool RunEffect(int effect);

  private:
    bool run(int effect, bool closeWithFullCopy);

    platform::Surface& picture1_;
    platform::Surface& picture2_;
    SaverState& state_;
    const platform::Screen& screen_;
    platform::EventLoop& eventLoop_;
    platform::Clock& clock_;
    TraceSink* trace_ = nullptr;
};

}  // namespace pictavo::transitions
