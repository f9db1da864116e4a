#pragma once
// The message loop in simulated time. Scripted input is posted and
// delivered at the next dispatch; timers fire when the fake clock says so.
// Input may be posted from any thread (a bench presses keys while the show
// waits for a decode); everything else runs on the loop's own thread.

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>

#include "hosts/headless/fake_clock.h"
#include "platform/event_loop.h"

namespace pictavo::platform::headless {

class HeadlessEventLoop : public EventLoop {
  public:
    explicit HeadlessEventLoop(FakeClock& clock) : clock_(clock) {}

    void doEvents() override;
    // Posted input is dispatched at once; otherwise the clock jumps to the
    // deadline (timers that fall due meanwhile fire at the next dispatch, as
    // in a transition's pauses).
    void waitForEvents(int64_t deadlineMicros) override;
    // Waits in real time, leaving the simulated clock where it is.
    void awaitWake(int64_t maxMicros) override;
    void wake() override;
    // Runs until the end is asked for, no window is left, or nothing more
    // can ever happen (no posted input and no running timer).
    void run() override;
    void requestEnd() override { endRequested_ = true; }
    bool endRequested() const override { return endRequested_; }

    // Runs like run() but stops when the clock reaches now + milliseconds.
    void runFor(int64_t milliseconds);

    // Delivers event at the next dispatch, as input from the user would come.
    void post(std::function<void()> event);

    int addTimer(std::function<void()> tick);
    // (Re)starts the timer from now; a zero interval or disabled stops it.
    void setTimer(int id, int intervalMs, bool enabled);
    void removeTimer(int id);

    // Tells the loop whether any window is still loaded.
    void setAliveCheck(std::function<bool()> alive) { alive_ = std::move(alive); }
    int dispatchCount() const { return dispatchCount_; }

    // Runs at the start of every dispatch with its number, before the posted
    // input: a test acts there as a handler of that moment would.
    void setOnDispatch(std::function<void(int dispatch)> hook) { onDispatch_ = std::move(hook); }
    // Runs at the start of every waitForEvents with its number; input posted
    // there arrives during the wait and cuts it short.
    void setOnWait(std::function<void(int wait)> hook) { onWait_ = std::move(hook); }
    int waitCount() const { return waitCount_; }
    // The longest span a waitForEvents was asked to sleep, in microseconds.
    int64_t longestWait() const { return longestWait_; }
    // As a host whose short sleeps are dear would say (0 by default).
    int64_t shortestSleepMicros() const override { return shortestSleepMicros_; }
    void setShortestSleepMicros(int64_t micros) { shortestSleepMicros_ = micros; }

  private:
    struct Timer {
        std::function<void()> tick;
        int64_t intervalMicros = 0;
        int64_t dueMicros = 0;
        bool running = false;
    };
    bool runOnce(int64_t limitMicros);
    void runPosted();
    void fireDueTimers();
    bool anythingPosted();

    int64_t shortestSleepMicros_ = 0;
    FakeClock& clock_;
    std::mutex postedMutex_;
    std::condition_variable arrived_;
    std::deque<std::function<void()>> posted_;
    bool woken_ = false;
    std::map<int, Timer> timers_;
    std::function<bool()> alive_ = [] { return true; };
    int nextTimerId_ = 1;
    int dispatchCount_ = 0;
    std::function<void(int)> onDispatch_;
    std::function<void(int)> onWait_;
    int waitCount_ = 0;
    int64_t longestWait_ = 0;
    bool endRequested_ = false;
};

}  // namespace pictavo::platform::headless
