#pragma once
// The screen's size in pixels, the one way the saver works it out: its size
// in twips over its twips per pixel, stored into 16-bit integers.

#include <cstdint>

#include "platform/screen.h"
#include "state/saver_state.h"

namespace pictavo {

struct ScreenPixels {
    int16_t width = 0;
    int16_t height = 0;
};

ScreenPixels screenPixelsOf(const platform::Screen& screen);

// Stores the screen's twips per pixel and its size in pixels into state:
// start-up does it once, the slide window again when the screen changed.
void measureScreen(const platform::Screen& screen, SaverState& state);

}  // namespace pictavo
