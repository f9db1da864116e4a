// The program icon: a little monitor on a stand whose screen shows a hilly
// landscape under the sun. The about box lays its animated "screen" over the
// screen area (pixels 5..26 x 5..21), so the two must stay in step.

#include <cmath>

#include "artwork/pictures.h"
#include "artwork/pixel_painter.h"

namespace pictavo::artwork {

namespace {
constexpr int kScreenLeft = 5, kScreenTop = 5, kScreenRight = 26, kScreenBottom = 21;

void drawCase(PixelPainter& painter) {
    painter.fillRect(2, 2, 29, 24, vga(Vga::LightGrey));
    painter.bevel(2, 2, 29, 24, vga(Vga::White), vga(Vga::Black));
    painter.fillRect(3, 23, 28, 23, vga(Vga::Grey));
    painter.fillRect(28, 3, 28, 23, vga(Vga::Grey));
    // The screen sits in a dark recess.
    painter.bevel(kScreenLeft - 1, kScreenTop - 1, kScreenRight + 1, kScreenBottom + 1,
                  vga(Vga::Grey), vga(Vga::White));
    painter.plot(25, 23, vga(Vga::LightGreen));  // the power light
}

void drawStand(PixelPainter& painter) {
    painter.fillRect(13, 25, 18, 26, vga(Vga::Grey));
    painter.fillRect(8, 27, 23, 29, vga(Vga::LightGrey));
    painter.bevel(8, 27, 23, 29, vga(Vga::White), vga(Vga::Black));
}

void drawLandscape(PixelPainter& painter) {
    for (int y = kScreenTop; y <= kScreenBottom; ++y)
        painter.fillRect(kScreenLeft, y, kScreenRight, y,
                         y < 10 ? vga(Vga::LightBlue) : vga(Vga::LightCyan));
    painter.disc(21.5, 9.0, 2.6, vga(Vga::Yellow));
    for (int x = kScreenLeft; x <= kScreenRight; ++x) {
        int far = static_cast<int>(std::lround(15.5 + 2.0 * std::sin(x * 0.45)));
        int near = static_cast<int>(std::lround(18.0 + 1.5 * std::sin(x * 0.3 + 2.0)));
        painter.fillRect(x, far, x, kScreenBottom, vga(Vga::Green));
        painter.fillRect(x, near, x, kScreenBottom, vga(Vga::LightGreen));
    }
}
}  // namespace

imaging::Image drawIcon() {
    PixelPainter painter(32, 32, kTransparent);
    drawCase(painter);
    drawStand(painter);
    drawLandscape(painter);
    imaging::Image image = painter.take();
    image.sourceBits = 4;
    return image;
}

}  // namespace pictavo::artwork
