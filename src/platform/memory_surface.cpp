#include "platform/memory_surface.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace pictavo::platform {

namespace {
imaging::Pixel toPixel(Colour c) { return imaging::rgb(colourRed(c), colourGreen(c), colourBlue(c)); }
}  // namespace

MemorySurface::MemorySurface(int width, int height) : image_(std::max(width, 0), std::max(height, 0)) {}

void MemorySurface::resize(int width, int height) { image_ = imaging::Image(std::max(width, 0), std::max(height, 0)); }

void MemorySurface::copyFrom(const Surface& src, int dx, int dy, int w, int h, int sx, int sy) {
    const imaging::Image source = src.snapshot();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int tx = dx + x, ty = dy + y, fx = sx + x, fy = sy + y;
            if (tx < 0 || ty < 0 || tx >= image_.width || ty >= image_.height) continue;
            if (fx < 0 || fy < 0 || fx >= source.width || fy >= source.height) continue;
            image_.at(tx, ty) = source.at(fx, fy);
        }
    }
}

void MemorySurface::stretchFrom(const Surface& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh) {
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
    const imaging::Image source = src.snapshot();
    for (int y = 0; y < dh; ++y) {
        for (int x = 0; x < dw; ++x) {
            int tx = dx + x, ty = dy + y;
            int fx = sx + static_cast<int>(static_cast<long long>(x) * sw / dw);
            int fy = sy + static_cast<int>(static_cast<long long>(y) * sh / dh);
            if (tx < 0 || ty < 0 || tx >= image_.width || ty >= image_.height) continue;
            if (fx < 0 || fy < 0 || fx >= source.width || fy >= source.height) continue;
            image_.at(tx, ty) = source.at(fx, fy);
        }
    }
}

void MemorySurface::clear(Colour colour) { std::fill(image_.pixels.begin(), image_.pixels.end(), toPixel(colour)); }

void MemorySurface::drawImage(const imaging::Image& image, int x, int y) {
    for (int row = 0; row < image.height; ++row)
        for (int col = 0; col < image.width; ++col) {
            int tx = x + col, ty = y + row;
            if (tx >= 0 && ty >= 0 && tx < image_.width && ty < image_.height) image_.at(tx, ty) = image.at(col, row);
        }
}

void MemorySurface::printLine(std::string_view text, const Font& font, Colour colour) {
    // Each character as a solid cell until the built-in font arrives.
    int height = static_cast<int>(std::lround(font.points * 96.0 / 72.0));
    int cell = std::max(1, height / 2);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ') continue;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x + 1 < cell; ++x) {
                int tx = printX_ + static_cast<int>(i) * cell + x, ty = printY_ + y;
                if (tx >= 0 && ty >= 0 && tx < image_.width && ty < image_.height) image_.at(tx, ty) = toPixel(colour);
            }
    }
    printX_ = 0;
    printY_ += height;
}

void MemorySurface::setPrintPosition(int x, int y) {
    printX_ = x;
    printY_ = y;
}

}  // namespace pictavo::platform
