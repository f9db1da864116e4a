#pragma once
// Pictures stored turned or mirrored (EXIF and TIFF orientation, Photo CD
// rotation) are shown upright, and the decoded size is the upright size.
// Decoders hand their rows over as the file stores them; UprightWriter puts
// each pixel where the upright picture has it, keeping only a window of it
// when a centred picture shows no more than that.

#include <span>

#include "imaging/image.h"

namespace pictavo::imaging {

// The orientations by the numbers of the EXIF/TIFF tag: where the stored
// first row and first column lie in the upright picture.
enum class Orientation : int {
    Upright = 1,                 // top, left
    MirroredLeftRight = 2,       // top, right
    Rotated180 = 3,              // bottom, right
    MirroredTopBottom = 4,       // bottom, left
    Transposed = 5,              // left, top
    NeedsClockwiseTurn = 6,      // right, top: turn 90 degrees clockwise to view
    Transversed = 7,             // right, bottom
    NeedsAnticlockwiseTurn = 8,  // left, bottom: turn 90 degrees anticlockwise to view
};

// Tag values outside 1 to 8 are treated as upright.
Orientation orientationFromTag(long value);

// Orientations 5 to 8 swap width and height.
bool swapsSides(Orientation orientation);

// How the stored picture's two axes lie in the upright one: along a stored
// row runs the upright x axis, or y when the sides swap; either may run
// backwards, as may the order of the stored rows.
struct StoredAxes {
    bool swapped = false;
    bool alongReversed = false;   // along a stored row
    bool acrossReversed = false;  // from one stored row to the next
};
StoredAxes storedAxes(Orientation orientation);

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

// The part of a picture that is seen when it is drawn unscaled and centred
// in a target window, at the offset (target - picture) / 2 rounded half to
// even. The whole picture when the target size is not given.
Rect centredWindow(int pictureWidth, int pictureHeight, int targetWidth, int targetHeight);

class UprightWriter {
  public:
    // storedWidth x storedHeight is the picture as its file holds it;
    // window is the part of the upright picture to keep.
    // Pixels no row writes keep fill.
    UprightWriter(Orientation orientation, int storedWidth, int storedHeight, Rect window,
                  Pixel fill = rgb(0, 0, 0));
    // Keeps the whole picture.
    UprightWriter(Orientation orientation, int storedWidth, int storedHeight);

    // The stored rows and columns whose pixels land inside the window.
    Rect storedWindow() const { return storedWindow_; }

    // Writes pixels of stored row storedY, the first of them at stored
    // column storedX and the others step columns apart (an interlaced
    // pass); those outside the window are dropped.
    void writeRow(int storedY, int storedX, std::span<const Pixel> pixels, int step = 1);

    // Where stored row storedY can be decoded straight into the picture
    // (upright or upside down, window as wide as the picture), else null.
    Pixel* directRow(int storedY);

    // The picture; fullWidth/fullHeight and origin are set when the window
    // is smaller than the upright picture.
    Image take();

  private:
    struct Point {
        int x;
        int y;
    };
    Point toUpright(int storedX, int storedY) const;
    Point toStored(int uprightX, int uprightY) const;
    Point uprightStep() const;

    Orientation orientation_;
    int storedWidth_;
    int storedHeight_;
    Rect window_;
    Rect storedWindow_;
    Image image_;
};

}  // namespace pictavo::imaging
