#pragma once
// Layouts measure in twips, windows in pixels.

#include <cmath>

namespace pictavo::platform::win32 {

struct TwipsScale {
    double twipsPerPixelX = 15.0;
    double twipsPerPixelY = 15.0;

    int toPixelsX(double twips) const {
        return static_cast<int>(std::lround(twips / twipsPerPixelX));
    }
    int toPixelsY(double twips) const {
        return static_cast<int>(std::lround(twips / twipsPerPixelY));
    }
    int toTwipsX(int pixels) const {
        return static_cast<int>(std::lround(pixels * twipsPerPixelX));
    }
    int toTwipsY(int pixels) const {
        return static_cast<int>(std::lround(pixels * twipsPerPixelY));
    }
};

}  // namespace pictavo::platform::win32
