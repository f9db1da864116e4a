#include "hosts/shared/memory_surface.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "common/numbers.h"
#include "hosts/shared/bitmap_font.h"
#include "hosts/shared/colour_pixels.h"

namespace pictavo::platform {

namespace {

using imaging::Image;
using imaging::Pixel;

// One axis of a transfer after clipping: n pixels from s (source) to d.
struct Span {
    int d = 0;
    int s = 0;
    int n = 0;
};

// Clips one axis against both pictures. Wide arithmetic, so no rectangle a
// caller can pass overflows; false when nothing is left.
bool clipAxis(long long d, long long s, long long n, long long dLimit, long long sLimit,
              Span& out) {
    if (n <= 0) return false;
    if (d < 0) {
        s -= d;
        n += d;
        d = 0;
    }
    if (s < 0) {
        d -= s;
        n += s;
        s = 0;
    }
    n = std::min({n, dLimit - d, sLimit - s});
    if (n <= 0) return false;
    out = {static_cast<int>(d), static_cast<int>(s), static_cast<int>(n)};
    return true;
}

Pixel* rowOf(Image& image, int y) {
    return image.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(image.width);
}
const Pixel* rowOf(const Image& image, int y) {
    return image.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(image.width);
}

// Copies the clipped rectangle; src and dst may be the same image.
// Returns the number of pixels written.
uint64_t transfer(const Image& src, Image& dst, int dx, int dy, int w, int h, int sx, int sy) {
    Span xs;
    Span ys;
    if (!clipAxis(dx, sx, w, dst.width, src.width, xs)) return 0;
    if (!clipAxis(dy, sy, h, dst.height, src.height, ys)) return 0;
    size_t rowBytes = static_cast<size_t>(xs.n) * sizeof(Pixel);
    // Whole rows of equally wide pictures lie back to back: one move.
    if (xs.n == dst.width && xs.n == src.width) {
        std::memmove(rowOf(dst, ys.d), rowOf(src, ys.s), rowBytes * static_cast<size_t>(ys.n));
    } else if (&src == &dst && ys.d > ys.s) {
        // Moving down within one picture: the last row first, so no source
        // row is overwritten before it is read.
        for (int i = ys.n - 1; i >= 0; --i)
            std::memmove(rowOf(dst, ys.d + i) + xs.d, rowOf(src, ys.s + i) + xs.s, rowBytes);
    } else {
        for (int i = 0; i < ys.n; ++i)
            std::memmove(rowOf(dst, ys.d + i) + xs.d, rowOf(src, ys.s + i) + xs.s, rowBytes);
    }
    return static_cast<uint64_t>(xs.n) * static_cast<uint64_t>(ys.n);
}

// Nearest-neighbour sampling of one axis: destination pixel j (0-based in
// the destination rectangle) takes source pixel s0 + floor((j + 1/2) sw / dw),
// in 32.32 fixed point.
struct Sampling {
    int s0;
    uint64_t step;
    int at(long long j) const {
        return s0 + static_cast<int>((step / 2 + static_cast<uint64_t>(j) * step) >> 32);
    }
};

// The destination indexes [first, last) whose pixel lies inside both pictures.
bool sampledRange(long long d, long long n, long long dLimit, const Sampling& sampling, int sLimit,
                  long long& first, long long& last) {
    first = std::max(0LL, -d);
    last = std::min(n, dLimit - d);
    while (first < last && sampling.at(first) < 0) ++first;
    while (first < last && sampling.at(last - 1) >= sLimit) --last;
    return first < last;
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
    pixelsBlitted_ += transfer(sourceImage(src, fallback), image_, dx, dy, w, h, sx, sy);
}

void MemorySurface::stretchFrom(const Surface& src, int sx, int sy, int sw, int sh, int dx, int dy,
                                int dw, int dh) {
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
    if (sw == dw && sh == dh) {
        copyFrom(src, dx, dy, dw, dh, sx, sy);
        return;
    }
    Image fallback;
    // Scaling within one picture would read pixels it has already written.
    const Image& source = &src == this ? (fallback = image_) : sourceImage(src, fallback);

    Sampling columns{sx, (static_cast<uint64_t>(sw) << 32) / static_cast<uint64_t>(dw)};
    Sampling rows{sy, (static_cast<uint64_t>(sh) << 32) / static_cast<uint64_t>(dh)};
    long long j0 = 0, j1 = 0, i0 = 0, i1 = 0;
    if (!sampledRange(dx, dw, image_.width, columns, source.width, j0, j1)) return;
    if (!sampledRange(dy, dh, image_.height, rows, source.height, i0, i1)) return;

    const size_t count = static_cast<size_t>(j1 - j0);
    int previousSourceRow = -1;
    Pixel* previousRow = nullptr;
    for (long long i = i0; i < i1; ++i) {
        Pixel* out = rowOf(image_, static_cast<int>(dy + i)) + (dx + j0);
        int sourceRow = rows.at(i);
        if (sourceRow == previousSourceRow) {
            // Enlarging: this row is the one just made again.
            std::memcpy(out, previousRow, count * sizeof(Pixel));
        } else if (sw == dw) {
            // Only the height changes: rows are taken whole.
            std::memcpy(out, rowOf(source, sourceRow) + columns.at(j0), count * sizeof(Pixel));
        } else {
            const Pixel* in = rowOf(source, sourceRow);
            uint64_t position = columns.step / 2 + static_cast<uint64_t>(j0) * columns.step;
            for (size_t k = 0; k < count; ++k, position += columns.step)
                out[k] = in[sx + static_cast<int>(position >> 32)];
        }
        previousSourceRow = sourceRow;
        previousRow = out;
    }
    pixelsBlitted_ += count * static_cast<uint64_t>(i1 - i0);
}

void MemorySurface::clear(Colour colour) {
    std::fill(image_.pixels.begin(), image_.pixels.end(), pixelFromColour(colour));
}

void MemorySurface::drawImage(const Image& image, int x, int y) {
    transfer(image, image_, x, y, image.width, image.height, 0, 0);
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
