#pragma once
// How big a vector picture is drawn. A drawing that states its physical size
// (points, inches, metafile units) is drawn at that size on a 96 dpi screen;
// one that does not is fitted to the size the caller will show it at.

#include <cstdint>

#include "common/result.h"
#include "imaging/image.h"
#include "imaging/target.h"
#include "imaging/vector/geometry.h"
#include "imaging/work_meter.h"

namespace pictavo::imaging::vector {

inline constexpr double kScreenDpi = 96;
// Where the caller gives no size to fit a drawing into.
inline constexpr int kDefaultFitWidth = 1024;
inline constexpr int kDefaultFitHeight = 768;
using imaging::PixelSize;

// The most pixels a drawing is drawn with for the screen when it is bigger
// than the screen: it is drawn at the smallest scale at or above the
// screen's size, and scaled to it afterwards, within this.
inline constexpr int64_t kMaxDrawnPixels = int64_t{16} << 20;

// The pixel size of a picture measured in inches, at 96 dpi; at least 1 x 1.
// Checked against the caps of target (a whole picture's by default).
Result<PixelSize> sizeFromInches(double widthInches, double heightInches,
                                 const Target& target = {});

// The largest size with the drawing's aspect ratio that fits the target
// (1024 x 768 when the target is 0 x 0).
PixelSize fitToTarget(double drawingWidth, double drawingHeight, int targetWidth, int targetHeight);

// A canvas image of that size filled with background, after the size checks
// every decoded picture passes (imaging/limits.h).
Result<Image> blankPicture(PixelSize size, Pixel background);

// Where a drawing's own pixels land on the canvas it is drawn on: scaled
// down, and for a centred slide shifted to the window the screen shows.
struct View {
    PixelSize drawing;  // the drawing's own size
    PixelSize canvas;
    double scale = 1;
    double left = 0;  // the drawing's point at the canvas's top-left corner
    double top = 0;
    bool staged = false;  // drawn for the screen: the staging caps apply

    bool identity() const { return scale == 1 && left == 0 && top == 0; }
    Transform transform() const { return {scale, 0, 0, scale, -left * scale, -top * scale}; }
};

// The canvas a drawing of its own size drawing is drawn on for target: the
// whole of it (for the tools), the window a centred slide shows, or, for a
// stretched slide or a box, the whole at the smallest scale at or above the
// size shown (never above its own size, within kMaxDrawnPixels).
Result<View> planCanvas(PixelSize drawing, const Target& target);

// The canvas of view filled with background.
Result<Image> blankCanvas(const View& view, Pixel background);

// The drawn canvas as a picture: its whole size and, for a window, where
// the window lies in it.
Image drawnPicture(Image canvas, const View& view);

// The most pixels a bitmap inside a drawing may have: it is unpacked and
// held beside the canvas while it is drawn, and the two together must stay
// well within the memory of one picture.
int64_t bitmapRoom(const Image& canvas);

// "picture too large: W x H" for a bitmap with more pixels than the canvas
// leaves room for; otherwise its pixels count against work.
Result<void> checkBitmap(const Image& canvas, int64_t width, int64_t height, WorkMeter& work);

}  // namespace pictavo::imaging::vector
