// The program icon: a little monitor on a stand whose screen shows a hilly
// landscape under the sun. The about box lays its animated "screen" over the
// screen area (pixels 5..26 x 5..21), so the two must stay in step.

#include <cmath>

#include "artwork/canvas.h"
#include "artwork/pictures.h"

namespace pictavo::artwork {

namespace {
constexpr int kScreenLeft = 5, kScreenTop = 5, kScreenRight = 26, kScreenBottom = 21;

void drawCase(Canvas& canvas) {
    canvas.fillRect(2, 2, 29, 24, vga(Vga::LightGrey));
    canvas.bevel(2, 2, 29, 24, vga(Vga::White), vga(Vga::Black));
    canvas.fillRect(3, 23, 28, 23, vga(Vga::Grey));
    canvas.fillRect(28, 3, 28, 23, vga(Vga::Grey));
    // The screen sits in a dark recess.
    canvas.bevel(kScreenLeft - 1, kScreenTop - 1, kScreenRight + 1, kScreenBottom + 1,
                 vga(Vga::Grey), vga(Vga::White));
    canvas.plot(25, 23, vga(Vga::LightGreen));  // the power light
}

void drawStand(Canvas& canvas) {
    canvas.fillRect(13, 25, 18, 26, vga(Vga::Grey));
    canvas.fillRect(8, 27, 23, 29, vga(Vga::LightGrey));
    canvas.bevel(8, 27, 23, 29, vga(Vga::White), vga(Vga::Black));
}

void drawLandscape(Canvas& canvas) {
    for (int y = kScreenTop; y <= kScreenBottom; ++y)
        canvas.fillRect(kScreenLeft, y, kScreenRight, y,
                        y < 10 ? vga(Vga::LightBlue) : vga(Vga::LightCyan));
    canvas.disc(21.5, 9.0, 2.6, vga(Vga::Yellow));
    for (int x = kScreenLeft; x <= kScreenRight; ++x) {
        int far = static_cast<int>(std::lround(15.5 + 2.0 * std::sin(x * 0.45)));
        int near = static_cast<int>(std::lround(18.0 + 1.5 * std::sin(x * 0.3 + 2.0)));
        canvas.fillRect(x, far, x, kScreenBottom, vga(Vga::Green));
        canvas.fillRect(x, near, x, kScreenBottom, vga(Vga::LightGreen));
    }
}
}  // namespace

imaging::Image drawIcon() {
    Canvas canvas(32, 32, kTransparent);
    drawCase(canvas);
    drawStand(canvas);
    drawLandscape(canvas);
    imaging::Image image = canvas.take();
    image.sourceBits = 4;
    return image;
}

}  // namespace pictavo::artwork
