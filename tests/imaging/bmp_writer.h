#pragma once
// Minimal bitmaps built in memory, for tests that need a file with an
// exact header: 24-bit, or 32-bit with an alpha mask (version 5 header).

#include <cstdint>
#include <vector>

#include "imaging/image.h"

namespace pictavo::imaging::testing {

std::vector<uint8_t> bitmapFile(const Image& image, bool withAlpha = false);

// Only the headers of a 24-bit bitmap claiming width x height, no pixels.
std::vector<uint8_t> bitmapHeaderClaiming(int32_t width, int32_t height);

}  // namespace pictavo::imaging::testing
