#include "hosts/shared/pixel_blits.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace pictavo::platform {

namespace {

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

template <typename View>
auto rowOf(View view, int y) {
    return view.pixels + static_cast<size_t>(y) * static_cast<size_t>(view.width);
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

PixelView viewOf(imaging::Image& image) {
    return {image.pixels.data(), image.width, image.height};
}

ConstPixelView viewOf(const imaging::Image& image) {
    return {image.pixels.data(), image.width, image.height};
}

uint64_t copyPixels(ConstPixelView src, PixelView dst, int dx, int dy, int w, int h, int sx,
                    int sy) {
    Span xs;
    Span ys;
    if (!clipAxis(dx, sx, w, dst.width, src.width, xs)) return 0;
    if (!clipAxis(dy, sy, h, dst.height, src.height, ys)) return 0;
    size_t rowBytes = static_cast<size_t>(xs.n) * sizeof(Pixel);
    // Whole rows of equally wide pictures lie back to back: one move.
    if (xs.n == dst.width && xs.n == src.width) {
        std::memmove(rowOf(dst, ys.d), rowOf(src, ys.s), rowBytes * static_cast<size_t>(ys.n));
    } else if (src.pixels == dst.pixels && ys.d > ys.s) {
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

uint64_t stretchPixels(ConstPixelView src, PixelView dst, int sx, int sy, int sw, int sh, int dx,
                       int dy, int dw, int dh) {
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return 0;
    if (sw == dw && sh == dh) return copyPixels(src, dst, dx, dy, dw, dh, sx, sy);
    if (src.pixels == dst.pixels) {
        // Scaling within one picture would read pixels it has already written.
        const std::vector<Pixel> copy(src.pixels, rowOf(src, src.height));
        return stretchPixels({copy.data(), src.width, src.height}, dst, sx, sy, sw, sh, dx, dy, dw,
                             dh);
    }

    Sampling columns{sx, (static_cast<uint64_t>(sw) << 32) / static_cast<uint64_t>(dw)};
    Sampling rows{sy, (static_cast<uint64_t>(sh) << 32) / static_cast<uint64_t>(dh)};
    long long j0 = 0, j1 = 0, i0 = 0, i1 = 0;
    if (!sampledRange(dx, dw, dst.width, columns, src.width, j0, j1)) return 0;
    if (!sampledRange(dy, dh, dst.height, rows, src.height, i0, i1)) return 0;

    const size_t count = static_cast<size_t>(j1 - j0);
    int previousSourceRow = -1;
    Pixel* previousRow = nullptr;
    for (long long i = i0; i < i1; ++i) {
        Pixel* out = rowOf(dst, static_cast<int>(dy + i)) + (dx + j0);
        int sourceRow = rows.at(i);
        if (sourceRow == previousSourceRow) {
            // Enlarging: this row is the one just made again.
            std::memcpy(out, previousRow, count * sizeof(Pixel));
        } else if (sw == dw) {
            // Only the height changes: rows are taken whole.
            std::memcpy(out, rowOf(src, sourceRow) + columns.at(j0), count * sizeof(Pixel));
        } else {
            const Pixel* in = rowOf(src, sourceRow);
            uint64_t position = columns.step / 2 + static_cast<uint64_t>(j0) * columns.step;
            for (size_t k = 0; k < count; ++k, position += columns.step)
                out[k] = in[sx + static_cast<int>(position >> 32)];
        }
        previousSourceRow = sourceRow;
        previousRow = out;
    }
    return count * static_cast<uint64_t>(i1 - i0);
}

void fillPixels(PixelView dst, imaging::Pixel pixel) {
    std::fill(dst.pixels, rowOf(dst, dst.height), pixel);
}

}  // namespace pictavo::platform
