#include "imaging/vector/picture_size.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <string>

namespace pictavo::imaging::vector {

namespace {

std::string sizeText(int64_t width, int64_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

// Rounds a pixel count, keeping absurd values absurd but representable.
int64_t toPixels(double value) {
    if (!(value > 0)) return 0;
    if (value > 1e12) return int64_t{1000000000000};
    return std::max<int64_t>(1, std::llround(value));
}

}  // namespace

Result<void> checkPictureSize(int64_t width, int64_t height) {
    if (width <= 0 || height <= 0) {
        return makeError("invalid picture size: " + sizeText(width, height));
    }
    if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels) {
        return makeError("picture too large: " + sizeText(width, height));
    }
    return {};
}

Result<PixelSize> sizeFromInches(double widthInches, double heightInches) {
    const int64_t width = toPixels(std::abs(widthInches) * kScreenDpi);
    const int64_t height = toPixels(std::abs(heightInches) * kScreenDpi);
    if (auto checked = checkPictureSize(width, height); !checked) return checked.error();
    return PixelSize{static_cast<int>(width), static_cast<int>(height)};
}

PixelSize fitToTarget(double drawingWidth, double drawingHeight, int targetWidth,
                      int targetHeight) {
    if (targetWidth <= 0 || targetHeight <= 0) {
        targetWidth = kDefaultFitWidth;
        targetHeight = kDefaultFitHeight;
    }
    targetWidth = static_cast<int>(std::min<int64_t>(targetWidth, kMaxSide));
    targetHeight = static_cast<int>(std::min<int64_t>(targetHeight, kMaxSide));
    drawingWidth = std::abs(drawingWidth);
    drawingHeight = std::abs(drawingHeight);
    if (!(drawingWidth > 0) || !(drawingHeight > 0) || !std::isfinite(drawingWidth) ||
        !std::isfinite(drawingHeight)) {
        return {targetWidth, targetHeight};
    }
    const double scale = std::min(targetWidth / drawingWidth, targetHeight / drawingHeight);
    return {
        static_cast<int>(std::clamp<int64_t>(toPixels(drawingWidth * scale), 1, targetWidth)),
        static_cast<int>(std::clamp<int64_t>(toPixels(drawingHeight * scale), 1, targetHeight))};
}

Result<Image> blankPicture(PixelSize size, Pixel background) {
    if (auto checked = checkPictureSize(size.width, size.height); !checked) {
        return checked.error();
    }
    try {
        return Image(size.width, size.height, background);
    } catch (const std::bad_alloc&) {
        return makeError("not enough memory");
    }
}

}  // namespace pictavo::imaging::vector
