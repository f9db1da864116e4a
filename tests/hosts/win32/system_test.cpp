// Screen, clock and version record against the system's own answers.

#include <gtest/gtest.h>

#include <windows.h>

#include "hosts/win32/win32_clock.h"
#include "hosts/win32/win32_screen.h"
#include "hosts/win32/win32_system_info.h"
#include "startup/main.h"

namespace pictavo::platform::win32 {
namespace {

TEST(Win32Screen, MeasuresThePrimaryDisplayInPixelsThroughTwips) {
    Win32Screen screen;
    SaverState state;
    measureScreen(screen, state);
    EXPECT_EQ(state.ScreenPixelWidth, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(state.ScreenPixelHeight, GetSystemMetrics(SM_CYSCREEN));
    HDC dc = GetDC(nullptr);
    EXPECT_DOUBLE_EQ(screen.twipsPerPixelX(), 1440.0 / GetDeviceCaps(dc, LOGPIXELSX));
    ReleaseDC(nullptr, dc);
    EXPECT_GE(screen.displayColours(), 16);
}

TEST(Win32Clock, SleepsUntilTheDeadlineAndNeverGoesBack) {
    Win32Clock clock;
    int64_t start = clock.nowMicros();
    clock.sleepUntil(start + 20000);
    int64_t after = clock.nowMicros();
    EXPECT_GE(after, start + 20000);
    clock.sleepUntil(after - 1000);  // a deadline already past returns at once
    EXPECT_GE(clock.nowMicros(), after);
    EXPECT_LT(clock.seedFromWallClock(), 24u * 3600u);
}

TEST(Win32SystemInfo, FillsTheVersionRecord) {
    Win32SystemInfo system;
    OsVersionInfo info;
    ASSERT_NE(system.getVersion(info), 0);
    EXPECT_EQ(info.platformId, 2u);  // every system this build runs on is of the NT family
    EXPECT_GE(info.majorVersion, 5u);
}

}  // namespace
}  // namespace pictavo::platform::win32
