#pragma once
// FLTK's event loop as the program's one message loop. Termination
// signals end it too: a saver started by a screen-saver host is told to go
// with SIGTERM.

#include <cstdint>
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

    // Fl::check() when the X connection or the wake pipe has something, or
    // FLTK's timers may be due; otherwise it returns at once and sends
    // nothing to the server (a transition dispatches at each of thousands
    // of steps).
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
    // Shows the picture boxes' changes: IfFrameDue when the last frame put
    // is at least a display frame (16 ms) old.
    void presentDrawing(Present when) override;
    // What presents the frame (the form factory's presenter), told whether
    // it may present within a frame of the last.
    void setFramePresenter(std::function<void(bool evenWithinFrame)> present) {
        present_ = std::move(present);
    }

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
    bool anythingWaiting() const;

    const Clock& clock_;
    std::function<bool()> alive_ = [] { return true; };
    std::function<void(bool)> present_;
    int64_t lastDispatchMicros_ = 0;
    bool endRequested_ = false;
    int wakePipe_[2] = {-1, -1};
};

}  // namespace pictavo::platform::fltk
