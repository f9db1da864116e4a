#include "hosts/headless/headless_event_loop.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <vector>

namespace pictavo::platform::headless {

void HeadlessEventLoop::doEvents() {
    ++dispatchCount_;
    if (onDispatch_) onDispatch_(dispatchCount_);
    if (anythingPosted()) runPosted();
    if (!endRequested_) fireDueTimers();
}

// Only what is waiting now: input posted by a handler runs at the next
// dispatch. Kept out of doEvents, whose every call inside a transition must
// allocate nothing when no input came.
void HeadlessEventLoop::runPosted() {
    std::deque<std::function<void()>> waiting;
    {
        std::lock_guard lock(postedMutex_);
        waiting.swap(posted_);
    }
    while (!waiting.empty() && !endRequested_) {
        auto event = std::move(waiting.front());
        waiting.pop_front();
        event();
    }
}

void HeadlessEventLoop::fireDueTimers() {
    std::vector<int> due;
    for (auto& [id, timer] : timers_)
        if (timer.running && timer.dueMicros <= clock_.nowMicros()) due.push_back(id);
    for (int id : due) {
        auto found = timers_.find(id);
        if (found == timers_.end() || !found->second.running || endRequested_) continue;
        // A timer that fell behind ticks once, as a window system's timer does.
        found->second.dueMicros = clock_.nowMicros() + found->second.intervalMicros;
        std::function<void()> tick = found->second.tick;
        tick();
    }
}

void HeadlessEventLoop::post(std::function<void()> event) {
    {
        std::lock_guard lock(postedMutex_);
        posted_.push_back(std::move(event));
    }
    arrived_.notify_all();
}

bool HeadlessEventLoop::anythingPosted() {
    std::lock_guard lock(postedMutex_);
    return !posted_.empty();
}

void HeadlessEventLoop::waitForEvents(int64_t deadlineMicros) {
    ++waitCount_;
    longestWait_ = std::max(longestWait_, deadlineMicros - clock_.nowMicros());
    if (onWait_) onWait_(waitCount_);
    if (anythingPosted()) {
        doEvents();
        return;
    }
    clock_.sleepUntil(deadlineMicros);
}

void HeadlessEventLoop::awaitWake(int64_t maxMicros) {
    bool input = false;
    {
        std::unique_lock lock(postedMutex_);
        arrived_.wait_for(lock, std::chrono::microseconds(maxMicros),
                          [this] { return woken_ || !posted_.empty(); });
        woken_ = false;
        input = !posted_.empty();
    }
    if (input) doEvents();
}

void HeadlessEventLoop::wake() {
    {
        std::lock_guard lock(postedMutex_);
        woken_ = true;
    }
    arrived_.notify_all();
}

bool HeadlessEventLoop::runOnce(int64_t limitMicros) {
    if (endRequested_ || !alive_()) return false;
    if (anythingPosted()) {
        doEvents();
        return true;
    }
    int64_t next = std::numeric_limits<int64_t>::max();
    for (auto& [id, timer] : timers_)
        if (timer.running && timer.dueMicros < next) next = timer.dueMicros;
    if (next == std::numeric_limits<int64_t>::max() || next > limitMicros) return false;
    clock_.sleepUntil(next);
    doEvents();
    return true;
}

void HeadlessEventLoop::run() {
    while (runOnce(std::numeric_limits<int64_t>::max())) {
    }
}

void HeadlessEventLoop::runFor(int64_t milliseconds) {
    int64_t limit = clock_.nowMicros() + milliseconds * 1000;
    while (runOnce(limit)) {
    }
    if (!endRequested_ && clock_.nowMicros() < limit) clock_.sleepUntil(limit);
}

int HeadlessEventLoop::addTimer(std::function<void()> tick) {
    int id = nextTimerId_++;
    timers_[id].tick = std::move(tick);
    return id;
}

void HeadlessEventLoop::setTimer(int id, int intervalMs, bool enabled) {
    auto found = timers_.find(id);
    if (found == timers_.end()) return;
    Timer& timer = found->second;
    timer.intervalMicros = int64_t{intervalMs} * 1000;
    timer.running = enabled && intervalMs > 0;
    timer.dueMicros = clock_.nowMicros() + timer.intervalMicros;
}

void HeadlessEventLoop::removeTimer(int id) {
    timers_.erase(id);
}

}  // namespace pictavo::platform::headless
