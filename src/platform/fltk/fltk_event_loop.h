#pragma once
// FLTK's event loop as the program's one message loop. Termination
// signals end it too: a saver started by a screen-saver host is told to go
// with SIGTERM.

#include <functional>

#include "platform/event_loop.h"

namespace pictavo::platform::fltk {

class FltkEventLoop : public EventLoop {
  public:
    FltkEventLoop() = default;
    ~FltkEventLoop() override;
    FltkEventLoop(const FltkEventLoop&) = delete;
    FltkEventLoop& operator=(const FltkEventLoop&) = delete;

    // Fl::check(): input, timers and repaints waiting now, then returns.
    void doEvents() override;
    void run() override;
    void requestEnd() override { endRequested_ = true; }
    bool endRequested() const override { return endRequested_; }

    // Tells the loop whether any window of the program is still loaded.
    void setAliveCheck(std::function<bool()> alive) { alive_ = std::move(alive); }
    // SIGTERM, SIGINT and SIGHUP ask the loop to end at its next turn (the
    // handler only writes to a pipe the loop watches).
    void endOnTerminationSignals();
    // One turn of a loop that waits inside a modal window.
    void waitOnce();

  private:
    static void signalArrived(int fd, void* self);

    std::function<bool()> alive_ = [] { return true; };
    bool endRequested_ = false;
    int signalPipe_[2] = {-1, -1};
};

}  // namespace pictavo::platform::fltk
