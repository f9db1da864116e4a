#pragma once
// The largest picture a decoder agrees to hold in memory, so that a forged
// header cannot make it allocate gigabytes.

#include <cstdint>
#include <string>

#include "common/result.h"

namespace pictavo::imaging {

constexpr int64_t maxPictureSide = 16384;
constexpr int64_t maxPicturePixels = maxPictureSide * maxPictureSide;

inline Result<void> checkPictureSize(int64_t width, int64_t height) {
    if (width <= 0 || height <= 0) return makeError("picture has no pixels");
    if (width > maxPictureSide || height > maxPictureSide || width * height > maxPicturePixels) {
        return makeError("picture too large: " + std::to_string(width) + " x " +
                         std::to_string(height));
    }
    return {};
}

}  // namespace pictavo::imaging
