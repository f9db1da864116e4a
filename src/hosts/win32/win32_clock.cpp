#include "hosts/win32/win32_clock.h"

#include <mmsystem.h>

namespace pictavo::platform::win32 {

namespace {
constexpr UINT kTimerResolutionMs = 1;
}

Win32Clock::Win32Clock() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    frequency_ = frequency.QuadPart > 0 ? frequency.QuadPart : 1;
    timer_ = CreateWaitableTimerW(nullptr, TRUE, nullptr);
    timeBeginPeriod(kTimerResolutionMs);
}

Win32Clock::~Win32Clock() {
    timeEndPeriod(kTimerResolutionMs);
    if (timer_ != nullptr) CloseHandle(timer_);
}

int64_t Win32Clock::nowMicros() const {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    // Split so the multiplication cannot overflow after long uptimes.
    int64_t seconds = counter.QuadPart / frequency_;
    int64_t rest = counter.QuadPart % frequency_;
    return seconds * 1000000 + rest * 1000000 / frequency_;
}

void Win32Clock::sleepUntil(int64_t deadlineMicros) {
    for (int64_t now = nowMicros(); now < deadlineMicros; now = nowMicros()) {
        LARGE_INTEGER due;
        due.QuadPart = -(deadlineMicros - now) * 10;  // relative, in 100 ns units
        if (timer_ != nullptr && SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE))
            WaitForSingleObject(timer_, INFINITE);
        else
            Sleep(static_cast<DWORD>((deadlineMicros - now + 999) / 1000));
    }
}

uint32_t Win32Clock::seedFromWallClock() const {
    SYSTEMTIME local;
    GetLocalTime(&local);
    return static_cast<uint32_t>(local.wHour) * 3600u + static_cast<uint32_t>(local.wMinute) * 60u +
           static_cast<uint32_t>(local.wSecond);
}

}  // namespace pictavo::platform::win32
