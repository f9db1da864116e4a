#pragma once
// The one thread's message loop.

#include <cstdint>

namespace pictavo::platform {

class EventLoop {
  public:
    virtual ~EventLoop() = default;
    // Lets the window system dispatch every waiting message once: input,
    // timer ticks, repaints. The only yield inside a transition.
    virtual void doEvents() = 0;
    // Sleeps until the clock reaches deadlineMicros, or less when something
    // arrives for the loop (input, a termination signal, a wake() from
    // another thread), and dispatches what arrived. One wait: callers that
    // keep a deadline call again until the clock has reached it.
    virtual void waitForEvents(int64_t deadlineMicros) = 0;
    // Sleeps at most maxMicros for another thread's wake() or for something
    // to arrive, and dispatches what arrived. Where time is simulated, this
    // wait takes none of it: work done on another thread costs no time on
    // the simulated clock.
    virtual void awaitWake(int64_t maxMicros) = 0;
    // Callable from any thread: a wait in progress, or the next one, returns at once.
    virtual void wake() = 0;
    // Runs until the program is asked to end or no window is left.
    virtual void run() = 0;
    // Ends the program. Handlers further up the stack unwind first (a
    // transition in progress stops at its next pause); then run() returns.
    virtual void requestEnd() = 0;
    virtual bool endRequested() const = 0;

    // Puts on screen what the windows drew since they were last shown. With
    // IfFrameDue the host may keep it for its next display frame when the
    // last one is less than a frame ago (a transition calls this at every
    // pause); Now shows it at once. Hosts that draw straight to the screen
    // need do nothing.
    enum class Present { IfFrameDue, Now };
    virtual void presentDrawing(Present /*when*/) {}

    // The shortest sleep worth its cost here, in microseconds. Where every
    // sleep is a round trip to the window server, a transition lets its
    // pauses add up to this much before it sleeps them off at once.
    virtual int64_t shortestSleepMicros() const { return 0; }
};

}  // namespace pictavo::platform
