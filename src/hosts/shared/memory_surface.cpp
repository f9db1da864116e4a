#include "hosts/shared/memory_surface.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "common/numbers.h"
#include "hosts/shared/bitmap_font.h"
#include "hosts/shared/colour_pixels.h"
#include "hosts/shared/pixel_blits.h"

namespace pictavo::platform {

namespace {

using imaging::Image;
using imaging::Pixel;

Pixel* rowOf(Image& image, int y) {
    return image.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(image.width);
}

}  // namespace

MemorySurface::MemorySurface(int width, int height, Pixel fill)
    : image_(std::max(width, 0), std::max(height, 0), fill) {}

MemorySurface::MemorySurface(Image image) : image_(std::move(image)) {}

void MemorySurface::resize(int width, int height) {
    image_ = Image(std::max(width, 0), std::max(height, 0));
}

const Image& MemorySurface::sourceImage(const Surface& src, Image& fallback) const {
    if (const auto* memory = dynamic_cast<const MemorySurface*>(&src)) return memory->image_;
    fallback = src.snapshot();
    return fallback;
}

void MemorySurface::copyFrom(const Surface& src, int dx, int dy, int w, int h, int sx, int sy) {
    if (w <= 0 || h <= 0) return;
    Image fallback;
    pixelsBlitted_ +=
        copyPixels(viewOf(sourceImage(src, fallback)), viewOf(image_), dx, dy, w, h, sx, sy);
}

void MemorySurface::stretchFrom(const Surface& src, int sx, int sy, int sw, int sh, int dx, int dy,
                                int dw, int dh) {
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
    Image fallback;
    pixelsBlitted_ += stretchPixels(viewOf(sourceImage(src, fallback)), viewOf(image_), sx, sy, sw,
                                    sh, dx, dy, dw, dh);
}

void MemorySurface::clear(Colour colour) {
    fillPixels(viewOf(image_), pixelFromColour(colour));
}

void MemorySurface::drawImage(const Image& image, int x, int y) {
    copyPixels(viewOf(image), viewOf(image_), x, y, image.width, image.height, 0, 0);
}

int fontPixelHeight(const Font& font) {
    return std::max(1, toInt32(font.points * 96.0 / 72.0));
}

void MemorySurface::printLine(std::string_view text, const Font& font, Colour colour) {
    const Pixel ink = pixelFromColour(colour);
    const int lineHeight = fontPixelHeight(font);
    const double unit = static_cast<double>(lineHeight) / kCellHeightUnits;
    // Bold strokes are widened to the right by about a grid unit.
    const int boldExtra = font.bold ? std::max(1, toInt32(unit)) : 0;
    const double advance = unit * kCellWidthUnits + boldExtra;

    for (size_t index = 0; index < text.size(); ++index) {
        const GlyphRows& glyph = glyphFor(text[index]);
        const long long left =
            printX_ + static_cast<long long>(std::floor(static_cast<double>(index) * advance));
        const long long right =
            printX_ + static_cast<long long>(std::floor(static_cast<double>(index + 1) * advance));
        for (int py = 0; py < lineHeight; ++py) {
            const long long y = static_cast<long long>(printY_) + py;
            if (y < 0 || y >= image_.height) continue;
            const int row =
                static_cast<int>(std::floor(py / unit)) - 1;  // one unit of leading above
            if (row < 0 || row >= GlyphRows::kHeight || glyph.rows[static_cast<size_t>(row)] == 0)
                continue;
            Pixel* out = rowOf(image_, static_cast<int>(y));
            for (long long x = std::max(left, 0LL);
                 x < std::min(right, static_cast<long long>(image_.width)); ++x) {
                const int px = static_cast<int>(x - left);
                for (int shift = 0; shift <= boldExtra; ++shift) {
                    if (px - shift < 0) break;
                    if (glyph.ink(static_cast<int>(std::floor((px - shift) / unit)), row)) {
                        out[x] = ink;
                        break;
                    }
                }
            }
        }
    }
    printX_ = 0;
    printY_ += lineHeight;
}

}  // namespace pictavo::platform
