#pragma once
// The one thread's message loop.

namespace pictavo::platform {

class EventLoop {
public:
    virtual ~EventLoop() = default;
    // Lets the window system dispatch every waiting message once: input,
    // timer ticks, repaints. The only yield inside a transition.
    virtual void doEvents() = 0;
    // Runs until the program is asked to end or no window is left.
    virtual void run() = 0;
    // Ends the program. Handlers further up the stack unwind first (a
    // transition in progress stops at its next pause); then run() returns.
    virtual void requestEnd() = 0;
    virtual bool endRequested() const = 0;
};

}  // namespace pictavo::platform
