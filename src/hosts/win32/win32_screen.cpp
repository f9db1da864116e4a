#include "hosts/win32/win32_screen.h"

#include <windows.h>

namespace pictavo::platform::win32 {

namespace {
constexpr double kTwipsPerInch = 1440.0;

int screenCaps(int index) {
    HDC screen = GetDC(nullptr);
    int value = GetDeviceCaps(screen, index);
    ReleaseDC(nullptr, screen);
    return value;
}

double twipsPerPixel(int logPixelsIndex) {
    int dpi = screenCaps(logPixelsIndex);
    return kTwipsPerInch / (dpi > 0 ? dpi : 96);
}
}  // namespace

double Win32Screen::twipsPerPixelX() const {
    return twipsPerPixel(LOGPIXELSX);
}
double Win32Screen::twipsPerPixelY() const {
    return twipsPerPixel(LOGPIXELSY);
}

double Win32Screen::widthTwips() const {
    return GetSystemMetrics(SM_CXSCREEN) * twipsPerPixelX();
}
double Win32Screen::heightTwips() const {
    return GetSystemMetrics(SM_CYSCREEN) * twipsPerPixelY();
}

int64_t Win32Screen::displayColours() const {
    int bits = screenCaps(BITSPIXEL) * screenCaps(PLANES);
    // Deeper displays than true colour still show 2^24 distinct colours.
    if (bits >= 24) return int64_t{1} << 24;
    return int64_t{1} << (bits > 0 ? bits : 1);
}

}  // namespace pictavo::platform::win32
