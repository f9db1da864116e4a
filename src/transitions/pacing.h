#pragma once
// TransitionDelay: the pause after every step of an effect.
//
// Each pause first lets the window system dispatch the waiting messages
// once, the only moment input and timer ticks are seen during a transition.
// Then it waits units x 10 x Speed nominal iterations of the old busy loop,
// on a deadline: the deadline advances by the nominal time of each pause and
// the clock is slept on only while it is ahead, so thousands of pauses of
// 70 microseconds add up to the right total even though no single sleep is
// that short, and time spent drawing counts against the wait. A long pause
// (a high Speed) is slept in slices that input cuts short, and the end of
// the program is looked for after each, so no pause holds the end back.
// Where short sleeps are dear (the host says how short), the pauses let the
// deadline run ahead until it is worth a sleep, so a step lands at most
// that much early and the effect still ends on time.
// What the steps drew is presented at most once per display frame: the
// host keeps the changes until a frame is due (and the transition's end
// presents what is left).

#include <cstdint>

#include "platform/clock.h"
#include "platform/event_loop.h"
#include "state/saver_state.h"
#include "transitions/trace.h"

namespace pictavo::transitions {

// Nominal duration of one iteration of the pacing loop, in nanoseconds.
// 7 us makes the strip wipes at Speed 1 on a 1920 x 1080 screen last about
// a second (WipeDown 271 steps x 500 iterations = 0.95 s; the eight wipes
// average 1.0 s, from 0.48 s for the two-front row wipes to 1.7 s for the
// left-right wipes). Speed multiplies it: Speed 1000 is a thousand times
// slower, as the setting always meant.
inline constexpr int64_t kNominalIterationNanos = 7000;
inline constexpr int64_t kIterationsPerUnitAndSpeed = 10;

// How far the pacing may fall behind its deadline before it forgets the
// debt. A pause that lasted long (a dialog opened by a key press during a
// transition) must not make the rest of the effect rush to catch up.
inline constexpr int64_t kMaxLagNanos = 50'000'000;

// The longest sleep between two looks at the end request.
inline constexpr int64_t kLongestSliceMicros = 10'000;

// Thrown out of TransitionDelay when the dispatch asked the program to end;
// Transition catches it. Effects do not see it and need no checks: the
// effect stops at once and nothing touches the pictures again.
struct TransitionAborted {};

class Pacing {
  public:
    Pacing(platform::EventLoop& eventLoop, platform::Clock& clock, const SaverState& state,
           TraceSink* trace);

    void TransitionDelay(int16_t units);

    // Sum of the nominal waits so far.
    int64_t nominalNanos() const { return nominalNanos_; }

  private:
    platform::EventLoop& eventLoop_;
    platform::Clock& clock_;
    const SaverState& state_;
    TraceSink* trace_;
    int64_t deadlineNanos_;
    int64_t nominalNanos_ = 0;
};

// The nominal wait of TransitionDelay(units) at the given Speed.
int64_t nominalDelayNanos(int units, int speed);

}  // namespace pictavo::transitions
