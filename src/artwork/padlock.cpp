// A brass padlock with a steel shackle, shaded from the top left, for the
// password prompt.

#include "artwork/pictures.h"
#include "artwork/pixel_painter.h"

namespace pictavo::artwork {

namespace {
constexpr double kShackleX = 23.0, kShackleY = 17.0;
constexpr double kOuter = 15.0, kInner = 10.0;
constexpr int kBodyLeft = 4, kBodyTop = 22, kBodyRight = 41, kBodyBottom = 49;

void drawShackle(PixelPainter& painter) {
    const imaging::Image& image = painter.image();
    for (int y = 0; y < kBodyTop; ++y)
        for (int x = 0; x < image.width; ++x) {
            double dx = x + 0.5 - kShackleX, dy = y + 0.5 - kShackleY;
            double d2 = dx * dx + dy * dy;
            bool arc = y + 0.5 <= kShackleY && d2 <= kOuter * kOuter && d2 >= kInner * kInner;
            bool leg = y + 0.5 > kShackleY &&
                       ((dx >= -kOuter && dx <= -kInner) || (dx >= kInner && dx <= kOuter));
            if (!arc && !leg) continue;
            // Light on the upper left of the bar, dark on the lower right.
            double across = (dx < 0 ? -dx : dx) - kInner;
            bool outerEdge = d2 >= (kOuter - 1.2) * (kOuter - 1.2) || across >= kOuter - kInner - 1;
            bool innerEdge = (arc && d2 <= (kInner + 1.2) * (kInner + 1.2)) || (leg && across <= 1);
            imaging::Pixel colour = vga(Vga::LightGrey);
            if (outerEdge || innerEdge)
                colour = vga(Vga::Black);
            else if (dx < 0 && (arc ? dy < -3 : across < 2.5))
                colour = vga(Vga::White);
            else if (dx > 0 && !arc && across > 2.5)
                colour = vga(Vga::Grey);
            painter.plot(x, y, colour);
        }
}

void drawBody(PixelPainter& painter) {
    painter.fillRect(kBodyLeft, kBodyTop, kBodyRight, kBodyBottom, vga(Vga::Yellow));
    painter.fillRect(kBodyLeft + 1, kBodyBottom - 4, kBodyRight - 1, kBodyBottom - 1,
                     vga(Vga::Brown));
    painter.fillRect(kBodyRight - 4, kBodyTop + 1, kBodyRight - 1, kBodyBottom - 1,
                     vga(Vga::Brown));
    painter.fillRect(kBodyLeft + 1, kBodyTop + 1, kBodyRight - 1, kBodyTop + 2, vga(Vga::White));
    painter.fillRect(kBodyLeft + 1, kBodyTop + 1, kBodyLeft + 2, kBodyBottom - 1, vga(Vga::White));
    painter.bevel(kBodyLeft, kBodyTop, kBodyRight, kBodyBottom, vga(Vga::Black), vga(Vga::Black));
    // A shadow on the ground.
    painter.fillRect(kBodyLeft + 2, kBodyBottom + 1, kBodyRight + 1, kBodyBottom + 1,
                     vga(Vga::Grey));
}

void drawKeyhole(PixelPainter& painter) {
    painter.disc(23.0, 32.5, 3.2, vga(Vga::Black));
    painter.fillRect(22, 33, 23, 42, vga(Vga::Black));
    painter.fillRect(21, 40, 24, 42, vga(Vga::Black));
}
}  // namespace

imaging::Image drawPadlock() {
    PixelPainter painter(46, 51, kTransparent);
    drawShackle(painter);
    drawBody(painter);
    drawKeyhole(painter);
    imaging::Image image = painter.take();
    image.sourceBits = 4;
    return image;
}

}  // namespace pictavo::artwork
