#include "imaging/orientation.h"

#include <algorithm>
#include <cstddef>

#include "common/numbers.h"

namespace pictavo::imaging {

Orientation orientationFromTag(long value) {
    if (value < 1 || value > 8) return Orientation::Upright;
    return static_cast<Orientation>(value);
}

bool swapsSides(Orientation orientation) {
    return static_cast<int>(orientation) >= 5;
}

StoredAxes storedAxes(Orientation orientation) {
    switch (orientation) {
        case Orientation::Upright:
            return {false, false, false};
        case Orientation::MirroredLeftRight:
            return {false, true, false};
        case Orientation::Rotated180:
            return {false, true, true};
        case Orientation::MirroredTopBottom:
            return {false, false, true};
        case Orientation::Transposed:
            return {true, false, false};
        case Orientation::NeedsClockwiseTurn:
            return {true, false, true};
        case Orientation::Transversed:
            return {true, true, true};
        case Orientation::NeedsAnticlockwiseTurn:
            return {true, true, false};
    }
    return {};
}

namespace {

// The visible span of one side: the picture is drawn at offset, the window
// covers [0, target).
void visibleSpan(int picture, int target, int& start, int& length) {
    if (target <= 0) {
        start = 0;
        length = picture;
        return;
    }
    const int offset = toInt32((static_cast<double>(target) - picture) / 2.0);
    start = std::clamp(-offset, 0, picture);
    const int end = std::clamp(target - offset, start, picture);
    length = end - start;
}

}  // namespace

Rect centredWindow(int pictureWidth, int pictureHeight, int targetWidth, int targetHeight) {
    Rect window;
    visibleSpan(pictureWidth, targetWidth, window.x, window.width);
    visibleSpan(pictureHeight, targetHeight, window.y, window.height);
    return window;
}

UprightWriter::UprightWriter(Orientation orientation, int storedWidth, int storedHeight)
    : UprightWriter(orientation, storedWidth, storedHeight,
                    swapsSides(orientation) ? Rect{0, 0, storedHeight, storedWidth}
                                            : Rect{0, 0, storedWidth, storedHeight}) {}

UprightWriter::UprightWriter(Orientation orientation, int storedWidth, int storedHeight,
                             Rect window, Pixel fill)
    : orientation_(orientation),
      storedWidth_(storedWidth),
      storedHeight_(storedHeight),
      window_(window),
      image_(window.width, window.height, fill) {
    const int uprightWidth = swapsSides(orientation) ? storedHeight : storedWidth;
    const int uprightHeight = swapsSides(orientation) ? storedWidth : storedHeight;
    if (window.width != uprightWidth || window.height != uprightHeight) {
        image_.fullWidth = uprightWidth;
        image_.fullHeight = uprightHeight;
        image_.originX = window.x;
        image_.originY = window.y;
    }
    if (window.width <= 0 || window.height <= 0) {
        storedWindow_ = Rect{};
        return;
    }
    const Point a = toStored(window.x, window.y);
    const Point b = toStored(window.x + window.width - 1, window.y + window.height - 1);
    storedWindow_.x = std::min(a.x, b.x);
    storedWindow_.y = std::min(a.y, b.y);
    storedWindow_.width = std::max(a.x, b.x) - storedWindow_.x + 1;
    storedWindow_.height = std::max(a.y, b.y) - storedWindow_.y + 1;
}

UprightWriter::Point UprightWriter::toUpright(int sx, int sy) const {
    const int w = storedWidth_ - 1;
    const int h = storedHeight_ - 1;
    switch (orientation_) {
        case Orientation::Upright:
            return {sx, sy};
        case Orientation::MirroredLeftRight:
            return {w - sx, sy};
        case Orientation::Rotated180:
            return {w - sx, h - sy};
        case Orientation::MirroredTopBottom:
            return {sx, h - sy};
        case Orientation::Transposed:
            return {sy, sx};
        case Orientation::NeedsClockwiseTurn:
            return {h - sy, sx};
        case Orientation::Transversed:
            return {h - sy, w - sx};
        case Orientation::NeedsAnticlockwiseTurn:
            return {sy, w - sx};
    }
    return {sx, sy};
}

UprightWriter::Point UprightWriter::toStored(int ux, int uy) const {
    const int w = storedWidth_ - 1;
    const int h = storedHeight_ - 1;
    switch (orientation_) {
        case Orientation::Upright:
            return {ux, uy};
        case Orientation::MirroredLeftRight:
            return {w - ux, uy};
        case Orientation::Rotated180:
            return {w - ux, h - uy};
        case Orientation::MirroredTopBottom:
            return {ux, h - uy};
        case Orientation::Transposed:
            return {uy, ux};
        case Orientation::NeedsClockwiseTurn:
            return {uy, h - ux};
        case Orientation::Transversed:
            return {w - uy, h - ux};
        case Orientation::NeedsAnticlockwiseTurn:
            return {w - uy, ux};
    }
    return {ux, uy};
}

// How far the upright position moves for one step along a stored row.
UprightWriter::Point UprightWriter::uprightStep() const {
    switch (orientation_) {
        case Orientation::Upright:
        case Orientation::MirroredTopBottom:
            return {1, 0};
        case Orientation::MirroredLeftRight:
        case Orientation::Rotated180:
            return {-1, 0};
        case Orientation::Transposed:
        case Orientation::NeedsClockwiseTurn:
            return {0, 1};
        case Orientation::Transversed:
        case Orientation::NeedsAnticlockwiseTurn:
            return {0, -1};
    }
    return {1, 0};
}

void UprightWriter::writeRow(int storedY, int storedX, std::span<const Pixel> pixels, int step) {
    const Rect& sw = storedWindow_;
    if (storedY < sw.y || storedY >= sw.y + sw.height || pixels.empty() || step < 1) return;
    // The pixels k with sw.x <= storedX + k * step < sw.x + sw.width.
    const int64_t count = static_cast<int64_t>(pixels.size());
    const int64_t firstK = std::max<int64_t>(0, (int64_t{sw.x} - storedX + step - 1) / step);
    const int64_t endK = std::min(count, (int64_t{sw.x} + sw.width - storedX + step - 1) / step);
    if (firstK >= endK) return;
    const int first = static_cast<int>(storedX + firstK * step);
    const Point start = toUpright(first, storedY);
    const Point unit = uprightStep();
    const std::ptrdiff_t stride =
        (static_cast<std::ptrdiff_t>(unit.y) * image_.width + unit.x) * step;
    std::ptrdiff_t out =
        static_cast<std::ptrdiff_t>(start.y - window_.y) * image_.width + (start.x - window_.x);
    Pixel* canvas = image_.pixels.data();
    for (int64_t k = firstK; k < endK; ++k, out += stride)
        canvas[out] = pixels[static_cast<size_t>(k)];
}

Pixel* UprightWriter::directRow(int storedY) {
    // Upside down, a stored row is still an upright row.
    const bool flipped = orientation_ == Orientation::MirroredTopBottom;
    if ((orientation_ != Orientation::Upright && !flipped) || window_.width != storedWidth_)
        return nullptr;
    const int y = flipped ? storedHeight_ - 1 - storedY : storedY;
    if (y < window_.y || y >= window_.y + window_.height) return nullptr;
    return &image_.at(0, y - window_.y);
}

Image UprightWriter::take() {
    return std::move(image_);
}

}  // namespace pictavo::imaging
