#include "imaging/limits.h"

#include <new>
#include <string>

namespace pictavo::imaging {

namespace {

std::string sizeText(int64_t width, int64_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

Result<void> checkSize(int64_t width, int64_t height, int64_t maxSide, int64_t maxPixels) {
    if (width <= 0 || height <= 0) {
        return makeError("invalid picture size: " + sizeText(width, height));
    }
    if (width > maxSide || height > maxSide || width * height > maxPixels) {
        return makeError("picture too large: " + sizeText(width, height));
    }
    return {};
}

}  // namespace

Error fileTooLarge(uint64_t bytes) {
    return makeError("file too large: " + std::to_string(bytes >> 20) + " MB");
}

Result<void> checkPictureSize(int64_t width, int64_t height) {
    return checkSize(width, height, kMaxPictureSide, kMaxPicturePixels);
}

Result<void> checkStagedSize(int64_t width, int64_t height) {
    return checkSize(width, height, kMaxStagedSide, kMaxStagedPixels);
}

namespace {

Result<Image> allocateChecked(Result<void> fits, int64_t width, int64_t height, Pixel fill) {
    if (!fits) return fits.error();
    try {
        return Image(static_cast<int>(width), static_cast<int>(height), fill);
    } catch (const std::bad_alloc&) {
        return makeError("not enough memory");
    }
}

}  // namespace

Result<Image> allocateImage(int64_t width, int64_t height, Pixel fill) {
    return allocateChecked(checkPictureSize(width, height), width, height, fill);
}

Result<Image> allocateStagedImage(int64_t width, int64_t height, Pixel fill) {
    return allocateChecked(checkStagedSize(width, height), width, height, fill);
}

}  // namespace pictavo::imaging
