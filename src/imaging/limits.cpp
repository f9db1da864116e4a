#include "imaging/limits.h"

#include <new>
#include <string>

namespace pictavo::imaging {

namespace {

std::string sizeText(int64_t width, int64_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

}  // namespace

Error fileTooLarge(uint64_t bytes) {
    return makeError("file too large: " + std::to_string(bytes >> 20) + " MB");
}

Result<void> checkPictureSize(int64_t width, int64_t height) {
    if (width <= 0 || height <= 0) {
        return makeError("invalid picture size: " + sizeText(width, height));
    }
    if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels) {
        return makeError("picture too large: " + sizeText(width, height));
    }
    return {};
}

Result<Image> allocateImage(int64_t width, int64_t height, Pixel fill) {
    if (auto fits = checkPictureSize(width, height); !fits) {
        return fits.error();
    }
    try {
        return Image(static_cast<int>(width), static_cast<int>(height), fill);
    } catch (const std::bad_alloc&) {
        return makeError("not enough memory");
    }
}

}  // namespace pictavo::imaging
