#pragma once
// Real time for the Linux hosts.

#include <chrono>
#include <ctime>
#include <thread>

#include "platform/clock.h"

namespace pictavo::platform::posix {

class SystemClock : public Clock {
  public:
    int64_t nowMicros() const override {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    void sleepUntil(int64_t deadlineMicros) override {
        int64_t wait = deadlineMicros - nowMicros();
        if (wait > 0) std::this_thread::sleep_for(std::chrono::microseconds(wait));
    }
    // Seconds since midnight, local time, as the saver has always seeded with.
    uint32_t seedFromWallClock() const override {
        std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return static_cast<uint32_t>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
    }
};

}  // namespace pictavo::platform::posix
