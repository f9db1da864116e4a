#pragma once
// The performance counter for time, a waitable timer for sleeping. While the
// clock exists the system timer runs at 1 ms, so short waits between the
// steps of a transition are not stretched to the default 15.6 ms tick.

#include <windows.h>

#include "platform/clock.h"

namespace pictavo::platform::win32 {

class Win32Clock : public Clock {
  public:
    Win32Clock();
    ~Win32Clock() override;
    Win32Clock(const Win32Clock&) = delete;
    Win32Clock& operator=(const Win32Clock&) = delete;

    int64_t nowMicros() const override;
    void sleepUntil(int64_t deadlineMicros) override;
    // Seconds since local midnight.
    uint32_t seedFromWallClock() const override;

  private:
    int64_t frequency_ = 1;
    HANDLE timer_ = nullptr;
};

}  // namespace pictavo::platform::win32
