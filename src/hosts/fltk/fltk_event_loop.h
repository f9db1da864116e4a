#pragma once
// FLTK's event loop as the program's one message loop. Termination
// signals end it too: a saver started by a screen-saver host is told to go
// with SIGTERM.

#include <functional>

#include "platform/clock.h"
#include "platform/event_loop.h"

namespace pictavo::platform::fltk {

class FltkEventLoop : public EventLoop {
  public:
    explicit FltkEventLoop(const Clock& clock);
    ~FltkEventLoop() override;
    FltkEventLoop(const FltkEventLoop&) = delete;
    FltkEventLoop& operator=(const FltkEventLoop&) = delete;

    // Fl::check(): input, timers and repaints waiting now, then returns.
    void doEvents() override;
    // Fl::wait() until the deadline: X input, FLTK's timers, the signal and
    // wake pipe each end it early.
    void waitForEvents(int64_t deadlineMicros) override;
    void awaitWake(int64_t maxMicros) override;
    // Writes to the pipe the loop watches; safe from any thread.
    void wake() override;
    void run() override;
    void requestEnd() override { endRequested_ = true; }
    // Also true as soon as a termination signal has come, before any
    // dispatch: a wait that looks between its slices sees it at once.
    bool endRequested() const override;

    // Tells the loop whether any window of the program is still loaded.
    void setAliveCheck(std::function<bool()> alive) { alive_ = std::move(alive); }
    // SIGTERM, SIGINT and SIGHUP ask the loop to end at its next turn (the
    // handler only notes the signal and writes to the pipe the loop watches).
    void endOnTerminationSignals();
    // The termination signal that has come (SIGTERM, SIGINT, SIGHUP), or 0.
    // The program dies of it once its windows are closed, so that whoever
    // sent it sees that it did.
    static int terminationSignal();
    // One turn of a loop that waits inside a modal window.
    void waitOnce();

  private:
    static void pipeReadable(int fd, void* self);

    const Clock& clock_;
    std::function<bool()> alive_ = [] { return true; };
    bool endRequested_ = false;
    int wakePipe_[2] = {-1, -1};
};

}  // namespace pictavo::platform::fltk
