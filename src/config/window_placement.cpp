#include "config/window_placement.h"

#include "common/numbers.h"

namespace pictavo::config {

void centreOnScreen(platform::Form& form, const platform::Screen& screen) {
    platform::TwipsRect bounds = form.bounds();
    bounds.left = toInt32((screen.widthTwips() - bounds.width) / 2);
    bounds.top = toInt32((screen.heightTwips() - bounds.height) / 2);
    form.move(bounds);
}

int twipsX(const platform::Screen& screen, double pixels) {
    return toInt32(pixels * screen.twipsPerPixelX());
}
int twipsY(const platform::Screen& screen, double pixels) {
    return toInt32(pixels * screen.twipsPerPixelY());
}
int pixelsX(const platform::Screen& screen, double twips) {
    return toInt32(twips / screen.twipsPerPixelX());
}
int pixelsY(const platform::Screen& screen, double twips) {
    return toInt32(twips / screen.twipsPerPixelY());
}

}  // namespace pictavo::config
