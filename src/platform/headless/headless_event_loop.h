#pragma once
// The message loop in simulated time. Scripted input is posted and
// delivered at the next dispatch; timers fire when the fake clock says so.

#include <deque>
#include <functional>
#include <map>

#include "platform/event_loop.h"
#include "platform/headless/fake_clock.h"

namespace pictavo::platform::headless {

class HeadlessEventLoop : public EventLoop {
public:
    explicit HeadlessEventLoop(FakeClock& clock) : clock_(clock) {}

    void doEvents() override;
    // Runs until the end is asked for, no window is left, or nothing more
    // can ever happen (no posted input and no running timer).
    void run() override;
    void requestEnd() override { endRequested_ = true; }
    bool endRequested() const override { return endRequested_; }

    // Runs like run() but stops when the clock reaches now + milliseconds.
    void runFor(int64_t milliseconds);

    // Delivers event at the next dispatch, as input from the user would come.
    void post(std::function<void()> event) { posted_.push_back(std::move(event)); }

    int addTimer(std::function<void()> tick);
    // (Re)starts the timer from now; a zero interval or disabled stops it.
    void setTimer(int id, int intervalMs, bool enabled);
    void removeTimer(int id);

    // Tells the loop whether any window is still loaded.
    void setAliveCheck(std::function<bool()> alive) { alive_ = std::move(alive); }
    int dispatchCount() const { return dispatchCount_; }

private:
    struct Timer {
        std::function<void()> tick;
        int64_t intervalMicros = 0;
        int64_t dueMicros = 0;
        bool running = false;
    };
    bool runOnce(int64_t limitMicros);
    void fireDueTimers();

    FakeClock& clock_;
    std::deque<std::function<void()>> posted_;
    std::map<int, Timer> timers_;
    std::function<bool()> alive_ = [] { return true; };
    int nextTimerId_ = 1;
    int dispatchCount_ = 0;
    bool endRequested_ = false;
};

}  // namespace pictavo::platform::headless
