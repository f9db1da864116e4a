#include "imaging/vector/picture_size.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "imaging/limits.h"
#include "imaging/orientation.h"
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

Result<PixelSize> sizeFromInches(double widthInches, double heightInches, const Target& target) {
    const int64_t width = toPixels(std::abs(widthInches) * kScreenDpi);
    const int64_t height = toPixels(std::abs(heightInches) * kScreenDpi);
    if (auto checked = checkPictureSize(target, width, height); !checked) return checked.error();
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

Result<View> planCanvas(PixelSize drawing, const Target& target) {
    if (auto fits = checkPictureSize(target, drawing.width, drawing.height); !fits)
        return fits.error();
    View view;
    view.drawing = drawing;
    view.canvas = drawing;
    view.staged = target.bounded();
    if (target.given() && target.fit == Fit::Centre) {
        const imaging::Rect window =
            centredWindow(drawing.width, drawing.height, target.width, target.height);
        view.left = window.x;
        view.top = window.y;
        view.canvas = {window.width, window.height};
    } else if (target.bounded()) {
        const PixelSize cover = coverSize(target, drawing.width, drawing.height);
        const double area = static_cast<double>(drawing.width) * drawing.height;
        const double scale =
            std::min({std::max(static_cast<double>(cover.width) / drawing.width,
                               static_cast<double>(cover.height) / drawing.height),
                      1.0, std::sqrt(static_cast<double>(kMaxDrawnPixels) / area)});
        if (scale < 1) {
            view.scale = scale;
            view.canvas = {std::max(1, static_cast<int>(std::ceil(drawing.width * scale - 1e-9))),
                           std::max(1, static_cast<int>(std::ceil(drawing.height * scale - 1e-9)))};
        }
    }
    return view;
}

Result<Image> blankCanvas(const View& view, Pixel background) {
    if (view.staged) return allocateStagedImage(view.canvas.width, view.canvas.height, background);
    return allocateImage(view.canvas.width, view.canvas.height, background);
}

Image drawnPicture(Image canvas, const View& view) {
    if (canvas.width != view.drawing.width || canvas.height != view.drawing.height) {
        canvas.fullWidth = view.drawing.width;
        canvas.fullHeight = view.drawing.height;
        if (view.scale == 1) {
            canvas.originX = static_cast<int>(view.left);
            canvas.originY = static_cast<int>(view.top);
        }
    }
    return canvas;
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
