#pragma once
// The screen's size in pixels, the one way the saver works it out: its size
// in twips over its twips per pixel, stored into 16-bit integers.

#include <cstdint>

#include "platform/screen.h"

namespace pictavo::startup {

struct ScreenPixels {
    int16_t width = 0;
    int16_t height = 0;
};

ScreenPixels screenPixelsOf(const platform::Screen& screen);

}  // namespace pictavo::startup
