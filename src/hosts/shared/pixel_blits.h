#pragma once
// The pixel loops every picture box draws with, whoever holds the pixels: a
// MemorySurface's image or a DIB section's bits (both 0xAARRGGBB words, rows
// back to back from the top). One code for every host, so the golden frames
// of the headless host are what every host shows.

#include <cstdint>

#include "imaging/image.h"

namespace pictavo::platform {

// A width x height picture whose rows lie back to back from pixels.
struct PixelView {
    imaging::Pixel* pixels = nullptr;
    int width = 0;
    int height = 0;
};

struct ConstPixelView {
    const imaging::Pixel* pixels = nullptr;
    int width = 0;
    int height = 0;
};

PixelView viewOf(imaging::Image& image);
ConstPixelView viewOf(const imaging::Image& image);

// Copies the w x h rectangle at (sx, sy) of src to (dx, dy) of dst, clipped
// against both like a block transfer. src and dst may be the same pixels and
// the rectangles may overlap. Returns the number of pixels written.
uint64_t copyPixels(ConstPixelView src, PixelView dst, int dx, int dy, int w, int h, int sx,
                    int sy);

// Nearest-neighbour scaling of the sw x sh rectangle at (sx, sy) of src onto
// the dw x dh one at (dx, dy) of dst; equal sizes are an exact copy. Sizes
// that are zero or negative draw nothing (no mirroring). src and dst may be
// the same pixels. Returns the number of pixels written.
uint64_t stretchPixels(ConstPixelView src, PixelView dst, int sx, int sy, int sw, int sh, int dx,
                       int dy, int dw, int dh);

void fillPixels(PixelView dst, imaging::Pixel pixel);

}  // namespace pictavo::platform
