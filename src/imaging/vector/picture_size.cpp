#include "imaging/vector/picture_size.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "imaging/limits.h"
#include "imaging/work_costs.h"

namespace pictavo::imaging::vector {

namespace {

// Rounds a pixel count, keeping absurd values absurd but representable.
int64_t toPixels(double value) {
    if (!(value > 0)) return 0;
    if (value > 1e12) return int64_t{1000000000000};
    return std::max<int64_t>(1, std::llround(value));
}

}  // namespace

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
    targetWidth = static_cast<int>(std::min<int64_t>(targetWidth, kMaxPictureSide));
    targetHeight = static_cast<int>(std::min<int64_t>(targetHeight, kMaxPictureSide));
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
    return allocateImage(size.width, size.height, background);
}

int64_t bitmapRoom(const Image& canvas) {
    // A quarter of the largest picture at most, and never more than half of
    // what the canvas leaves: the unpacked rows may take nearly as much again.
    const int64_t left = kMaxPicturePixels - int64_t{canvas.width} * canvas.height;
    return std::clamp<int64_t>(left / 2, 0, kMaxPicturePixels / 4);
}

Result<void> checkBitmap(const Image& canvas, int64_t width, int64_t height, WorkMeter& work) {
    if (auto size = checkPictureSize(width, height); !size) return size.error();
    if (width * height > bitmapRoom(canvas)) {
        return makeError("picture too large: " + std::to_string(width) + " x " +
                         std::to_string(height));
    }
    if (!work.spend(cost::kBitmapPixel * width * height)) return work.stopError();
    return {};
}

}  // namespace pictavo::imaging::vector
