#pragma once
// Simulated time: sleeping moves the clock forward at once.

#include "platform/clock.h"

namespace pictavo::platform::headless {

class FakeClock : public Clock {
  public:
    int64_t nowMicros() const override { return now_; }
    void sleepUntil(int64_t deadlineMicros) override {
        ++sleeps_;
        if (deadlineMicros > now_) now_ = deadlineMicros;
    }
    uint32_t seedFromWallClock() const override { return seed_; }

    void advance(int64_t micros) { now_ += micros; }
    void setSeed(uint32_t seed) { seed_ = seed; }
    int64_t nowMillis() const { return now_ / 1000; }
    // Calls to sleepUntil so far, including those whose deadline had passed.
    int sleeps() const { return sleeps_; }

  private:
    int64_t now_ = 0;
    uint32_t seed_ = 43200;
    int sleeps_ = 0;
};

}  // namespace pictavo::platform::headless
