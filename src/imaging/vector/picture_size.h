#pragma once
// How big a vector picture is drawn. A drawing that states its physical size
// (points, inches, metafile units) is drawn at that size on a 96 dpi screen;
// one that does not is fitted to the size the caller will show it at.

#include <cstdint>

#include "common/result.h"
#include "imaging/image.h"
#include "imaging/work_meter.h"

namespace pictavo::imaging::vector {

inline constexpr double kScreenDpi = 96;
// Where the caller gives no size to fit a drawing into.
inline constexpr int kDefaultFitWidth = 1024;
inline constexpr int kDefaultFitHeight = 768;
struct PixelSize {
    int width = 0;
    int height = 0;
};

// The pixel size of a picture measured in inches, at 96 dpi; at least 1 x 1.
Result<PixelSize> sizeFromInches(double widthInches, double heightInches);

// The largest size with the drawing's aspect ratio that fits the target
// (1024 x 768 when the target is 0 x 0).
PixelSize fitToTarget(double drawingWidth, double drawingHeight, int targetWidth, int targetHeight);

// A canvas image of that size filled with background, after the size checks
// every decoded picture passes (imaging/limits.h).
Result<Image> blankPicture(PixelSize size, Pixel background);

// The most pixels a bitmap inside a drawing may have: it is unpacked and
// held beside the canvas while it is drawn, and the two together must stay
// well within the memory of one picture.
int64_t bitmapRoom(const Image& canvas);

// "picture too large: W x H" for a bitmap with more pixels than the canvas
// leaves room for; otherwise its pixels count against work.
Result<void> checkBitmap(const Image& canvas, int64_t width, int64_t height, WorkMeter& work);

}  // namespace pictavo::imaging::vector
