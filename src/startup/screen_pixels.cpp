#include "startup/screen_pixels.h"

#include "common/numbers.h"

namespace pictavo::startup {

ScreenPixels screenPixelsOf(const platform::Screen& screen) {
    return {toInt16(screen.widthTwips() / screen.twipsPerPixelX()),
            toInt16(screen.heightTwips() / screen.twipsPerPixelY())};
}

}  // namespace pictavo::startup
