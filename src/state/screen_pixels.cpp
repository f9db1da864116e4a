#include "state/screen_pixels.h"

#include "common/numbers.h"

namespace pictavo {

ScreenPixels screenPixelsOf(const platform::Screen& screen) {
    return {toInt16(screen.widthTwips() / screen.twipsPerPixelX()),
            toInt16(screen.heightTwips() / screen.twipsPerPixelY())};
}

void measureScreen(const platform::Screen& screen, SaverState& state) {
    state.TwipsPerPixelX = toInt16(screen.twipsPerPixelX());
    state.TwipsPerPixelY = toInt16(screen.twipsPerPixelY());
    ScreenPixels pixels = screenPixelsOf(screen);
    state.ScreenPixelWidth = pixels.width;
    state.ScreenPixelHeight = pixels.height;
}

}  // namespace pictavo
