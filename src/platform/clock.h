#pragma once
// Time. Every timer, the transitions' pacing and the about box read this
// clock, so the headless host can run hours of show in milliseconds.

#include <cstdint>

namespace pictavo::platform {

class Clock {
  public:
    virtual ~Clock() = default;
    // Monotonic time in microseconds.
    virtual int64_t nowMicros() const = 0;
    // Returns when nowMicros() >= deadline (at once if it already is).
    virtual void sleepUntil(int64_t deadlineMicros) = 0;
    // A value from the wall clock to seed the random generator with.
    virtual uint32_t seedFromWallClock() const = 0;
};

}  // namespace pictavo::platform
