#include "artwork/pixel_painter.h"

#include <array>
#include <cstddef>

namespace pictavo::artwork {

imaging::Pixel vga(Vga colour) {
    static constexpr std::array<imaging::Pixel, 16> kColours = {
        imaging::rgb(0, 0, 0),       imaging::rgb(0, 0, 128),     imaging::rgb(0, 128, 0),
        imaging::rgb(0, 128, 128),   imaging::rgb(128, 0, 0),     imaging::rgb(128, 0, 128),
        imaging::rgb(128, 128, 0),   imaging::rgb(192, 192, 192), imaging::rgb(128, 128, 128),
        imaging::rgb(0, 0, 255),     imaging::rgb(0, 255, 0),     imaging::rgb(0, 255, 255),
        imaging::rgb(255, 0, 0),     imaging::rgb(255, 0, 255),   imaging::rgb(255, 255, 0),
        imaging::rgb(255, 255, 255),
    };
    return kColours[static_cast<size_t>(colour)];
}

PixelPainter::PixelPainter(int width, int height, imaging::Pixel background)
    : image_(width, height, background) {}

void PixelPainter::plot(int x, int y, imaging::Pixel colour) {
    if (x >= 0 && y >= 0 && x < image_.width && y < image_.height) image_.at(x, y) = colour;
}

void PixelPainter::fillRect(int left, int top, int right, int bottom, imaging::Pixel colour) {
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) plot(x, y, colour);
}

void PixelPainter::bevel(int left, int top, int right, int bottom, imaging::Pixel light,
                         imaging::Pixel dark) {
    fillRect(left, top, right, top, light);
    fillRect(left, top, left, bottom, light);
    fillRect(left, bottom, right, bottom, dark);
    fillRect(right, top, right, bottom, dark);
}

void PixelPainter::disc(double cx, double cy, double radius, imaging::Pixel colour) {
    for (int y = 0; y < image_.height; ++y)
        for (int x = 0; x < image_.width; ++x) {
            double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            if (dx * dx + dy * dy <= radius * radius) plot(x, y, colour);
        }
}

}  // namespace pictavo::artwork
