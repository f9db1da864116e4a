#pragma once
// A timer control: FLTK timeouts that repeat every interval while enabled.

#include <functional>

namespace pictavo::platform::fltk {

class FltkTimer {
  public:
    explicit FltkTimer(std::function<void()> tick) : tick_(std::move(tick)) {}
    ~FltkTimer() { stop(); }
    FltkTimer(const FltkTimer&) = delete;
    FltkTimer& operator=(const FltkTimer&) = delete;

    // Starts counting the interval afresh; a zero interval stops the timer,
    // as a timer control with interval 0 never ticks.
    void restart(int intervalMs, bool enabled);
    void stop();
    bool running() const { return running_; }

  private:
    static void ticked(void* self);

    std::function<void()> tick_;
    double seconds_ = 0;
    bool running_ = false;
};

}  // namespace pictavo::platform::fltk
