#include "imaging/vector/path_painter.h"

#include <algorithm>
#include <cmath>

#include "imaging/work_costs.h"

namespace pictavo::imaging::vector {

Pixel blend(Pixel destination, Pixel source, uint8_t alpha) {
    const uint32_t weight = (uint32_t{alpha} * (source >> 24) + 127) / 255;
    if (weight == 0) return destination;
    if (weight == 255) return source | 0xFF000000u;
    const uint32_t keep = 255 - weight;
    auto channel = [&](int shift) {
        const uint32_t s = (source >> shift) & 0xFF;
        const uint32_t d = (destination >> shift) & 0xFF;
        return ((s * weight + d * keep + 127) / 255) << shift;
    };
    return 0xFF000000u | channel(16) | channel(8) | channel(0);
}

class PathPainter::PaintSink final : public SpanSink {
  public:
    PaintSink(PathPainter& canvas, const Paint& paint) : canvas_(canvas), paint_(paint) {}

    void span(int y, int x, int count, uint8_t alpha) override {
        if (y < canvas_.clipTop_ || y >= canvas_.clipBottom_) return;
        (void)canvas_.work_->spend(count);
        const int from = std::max(x, canvas_.clipLeft_);
        const int to = std::min(x + count, canvas_.clipRight_);
        Pixel* row = &canvas_.image_.at(0, y);
        const Tile* tile = paint_.tile.get();
        const int tileY = y + canvas_.tileTop_;
        for (int i = from; i < to; ++i) {
            const int tileX = i + canvas_.tileLeft_;
            const Pixel source =
                tile ? tile->pixels[static_cast<size_t>((tileY % tile->height) * tile->width +
                                                        tileX % tile->width)]
                     : paint_.colour;
            row[i] = blend(row[i], source, alpha);
        }
    }

  private:
    PathPainter& canvas_;
    const Paint& paint_;
};

namespace {

View wholeCanvas(const Image& target) {
    View view;
    view.drawing = {target.width, target.height};
    view.canvas = view.drawing;
    return view;
}

}  // namespace

PathPainter::PathPainter(Image& target, WorkMeter& work)
    : PathPainter(target, work, wholeCanvas(target)) {}

PathPainter::PathPainter(Image& target) : PathPainter(target, ownWork_, wholeCanvas(target)) {}

PathPainter::PathPainter(Image& target, WorkMeter& work, const View& view)
    : image_(target),
      view_(view),
      tileLeft_(static_cast<int>(std::lround(view.left * view.scale))),
      tileTop_(static_cast<int>(std::lround(view.top * view.scale))),
      work_(&work) {
    resetClip();
}

// The clip is given in the drawing's pixels.
void PathPainter::setClip(int left, int top, int right, int bottom) {
    auto along = [&](int value, double origin, int size) {
        if (view_.identity()) return std::clamp(value, 0, size);
        const double onCanvas = std::round((value - origin) * view_.scale);
        return static_cast<int>(std::clamp(onCanvas, 0.0, static_cast<double>(size)));
    };
    clipLeft_ = along(left, view_.left, image_.width);
    clipTop_ = along(top, view_.top, image_.height);
    clipRight_ = std::max(along(right, view_.left, image_.width), clipLeft_);
    clipBottom_ = std::max(along(bottom, view_.top, image_.height), clipTop_);
}

void PathPainter::resetClip() {
    clipLeft_ = 0;
    clipTop_ = 0;
    clipRight_ = image_.width;
    clipBottom_ = image_.height;
}

std::vector<Contour> PathPainter::onCanvas(const std::vector<Contour>& contours) const {
    std::vector<Contour> mapped = contours;
    for (Contour& contour : mapped)
        for (Point& p : contour.points) p = onCanvas(p);
    return mapped;
}

namespace {

int64_t pointCount(const std::vector<Contour>& contours) {
    int64_t count = 0;
    for (const Contour& contour : contours) count += static_cast<int64_t>(contour.points.size());
    return count;
}

}  // namespace

void PathPainter::fill(const std::vector<Contour>& contours, FillRule rule, const Paint& paint) {
    if (image_.empty()) return;
    if (!view_.identity()) {
        fillOnCanvas(onCanvas(contours), rule, paint);
        return;
    }
    fillOnCanvas(contours, rule, paint);
}

void PathPainter::fillOnCanvas(const std::vector<Contour>& contours, FillRule rule,
                               const Paint& paint) {
    if (!work_->spend(cost::kPoint * pointCount(contours))) return;
    if (paint.tile && (paint.tile->width <= 0 || paint.tile->height <= 0 ||
                       paint.tile->pixels.size() !=
                           static_cast<size_t>(paint.tile->width) * paint.tile->height)) {
        return;
    }
    rasterizer_.reset(image_.width, image_.height);
    rasterizer_.addContours(contours);
    (void)work_->spend(cost::kEdgeCell * static_cast<int64_t>(rasterizer_.cellCount()));
    if (rasterizer_.overflowed()) work_->exhaust();
    PaintSink sink(*this, paint);
    rasterizer_.sweep(rule, sink);
}

void PathPainter::fillPath(const Path& path, const Transform& toDevice, FillRule rule,
                           const Paint& paint) {
    if (image_.empty()) return;
    fillOnCanvas(path.flatten(view_.identity() ? toDevice : view_.transform().after(toDevice)),
                 rule, paint);
}

void PathPainter::strokePath(const Path& path, const Transform& toDevice, const Pen& pen,
                             const Paint& paint) {
    if (view_.identity()) {
        strokeOnCanvas(path, toDevice, pen, paint);
        return;
    }
    Pen scaled = pen;
    scaled.width *= view_.scale;
    for (double& dash : scaled.dashes) dash *= view_.scale;
    strokeOnCanvas(path, view_.transform().after(toDevice), scaled, paint);
}

void PathPainter::strokeOnCanvas(const Path& path, const Transform& toDevice, const Pen& pen,
                                 const Paint& paint) {
    if (!(pen.width <= kHairlineWidth) && !(pen.width < kMaxPenWidth)) {
        // Not a number, or wider than any picture: nothing sensible to draw.
        return;
    }
    if (pen.width <= kHairlineWidth && !paint.tile) {
        const auto lines = path.flatten(toDevice);
        if (!work_->spend(cost::kPoint * pointCount(lines))) return;
        hairlinesOnCanvas(pen.dashes.empty() ? lines : applyDashes(lines, pen.dashes),
                          paint.colour);
        return;
    }
    fillOnCanvas(strokeOutlines(path.flatten(toDevice), pen), FillRule::NonZero, paint);
}

void PathPainter::plot(int x, int y, Pixel colour, double coverage) {
    if (x < clipLeft_ || x >= clipRight_ || y < clipTop_ || y >= clipBottom_ || !(coverage > 0))
        return;
    const auto alpha = static_cast<uint8_t>(std::min(coverage, 1.0) * 255 + 0.5);
    Pixel& target = image_.at(x, y);
    target = blend(target, colour, alpha);
}

void PathPainter::drawHairline(Point a, Point b, Pixel colour) {
    if (view_.identity()) {
        hairline(a, b, colour);
    } else {
        hairline(onCanvas(a), onCanvas(b), colour);
    }
}

void PathPainter::drawHairlines(const std::vector<Contour>& lines, Pixel colour) {
    hairlinesOnCanvas(view_.identity() ? lines : onCanvas(lines), colour);
}

void PathPainter::hairlinesOnCanvas(const std::vector<Contour>& lines, Pixel colour) {
    for (const Contour& line : lines) {
        const auto& points = line.points;
        if (points.size() == 1) hairline(points[0], points[0], colour);
        for (size_t i = 1; i < points.size(); ++i) hairline(points[i - 1], points[i], colour);
        if (line.closed && points.size() > 2) hairline(points.back(), points.front(), colour);
    }
}

// Walks the line along its longer axis; at each step the two pixels nearest
// to it share the ink by their distance from it. The ink per step grows
// with the slope, so every direction looks equally heavy, and shrinks with
// the part of the step the line covers, so the segments of a polyline add
// up to one line where they meet.
void PathPainter::hairline(Point a, Point b, Pixel colour) {
    if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y)) {
        return;
    }
    const bool steep = std::abs(b.y - a.y) > std::abs(b.x - a.x);
    if (steep) {
        std::swap(a.x, a.y);
        std::swap(b.x, b.y);
    }
    if (a.x > b.x) std::swap(a, b);
    const double run = b.x - a.x;
    const double gradient = run < 1e-9 ? 0 : (b.y - a.y) / run;
    const double weight = std::sqrt(1 + gradient * gradient);
    // Steps outside the picture are skipped without being walked.
    const double limitMajor = steep ? image_.height : image_.width;
    const double firstStep = std::floor(a.x + 0.5);
    const double first = std::max(firstStep, -1.0);
    const double last = std::min(std::floor(b.x + 0.5), limitMajor);
    if (last >= first)
        (void)work_->spend(static_cast<int64_t>(last - first + 1) * cost::kHairlineStep);
    for (double major = first; major <= last; ++major) {
        // How much of this pixel column the segment spans.
        const double span =
            run < 1e-9 ? 1 : std::min(b.x, major + 0.5) - std::max(a.x, major - 0.5);
        if (!(span > 0)) continue;
        const double centre = a.y + (std::clamp(major, a.x, b.x) - a.x) * gradient - 0.5;
        const double below = std::floor(centre);
        const double share = centre - below;
        const double ink = span * weight;
        const int m = static_cast<int>(major);
        const int n = static_cast<int>(std::clamp(below, -2.0, 1e9));
        if (steep) {
            plot(n, m, colour, ink * (1 - share));
            plot(n + 1, m, colour, ink * share);
        } else {
            plot(m, n, colour, ink * (1 - share));
            plot(m, n + 1, colour, ink * share);
        }
    }
}

void PathPainter::drawImage(const Image& source, const Rect& sourceRect, const Rect& onDrawing,
                            BlendOp op) {
    if (source.empty() || image_.empty()) return;
    Rect destination = onDrawing;
    if (!view_.identity()) {
        const Point a = onCanvas({onDrawing.left, onDrawing.top});
        const Point b = onCanvas({onDrawing.right, onDrawing.bottom});
        destination = {a.x, a.y, b.x, b.y};
    }
    const double destWidth = destination.right - destination.left;
    const double destHeight = destination.bottom - destination.top;
    if (!(std::abs(destWidth) >= 1e-9) || !(std::abs(destHeight) >= 1e-9)) return;
    const double scaleX = (sourceRect.right - sourceRect.left) / destWidth;
    const double scaleY = (sourceRect.bottom - sourceRect.top) / destHeight;
    auto bound = [](double value, int low, int high) {
        if (!(value > low)) return low;
        if (!(value < high)) return high;
        return static_cast<int>(std::lround(value));
    };
    const int x0 = bound(std::min(destination.left, destination.right), clipLeft_, clipRight_);
    const int x1 = bound(std::max(destination.left, destination.right), clipLeft_, clipRight_);
    const int y0 = bound(std::min(destination.top, destination.bottom), clipTop_, clipBottom_);
    const int y1 = bound(std::max(destination.top, destination.bottom), clipTop_, clipBottom_);
    (void)work_->spend(cost::kImagePixel * (x1 - x0) * (y1 - y0));
    for (int y = y0; y < y1; ++y) {
        const double sy = sourceRect.top + (y + 0.5 - destination.top) * scaleY;
        const int row = static_cast<int>(std::floor(sy));
        if (row < 0 || row >= source.height) continue;
        for (int x = x0; x < x1; ++x) {
            const double sx = sourceRect.left + (x + 0.5 - destination.left) * scaleX;
            const int column = static_cast<int>(std::floor(sx));
            if (column < 0 || column >= source.width) continue;
            const Pixel pixel = source.at(column, row);
            Pixel& target = image_.at(x, y);
            switch (op) {
                case BlendOp::Copy:
                    target = blend(target, pixel, 255);
                    break;
                case BlendOp::And:
                    target = (target & pixel) | 0xFF000000u;
                    break;
                case BlendOp::Or:
                    target = (target | pixel) | 0xFF000000u;
                    break;
                case BlendOp::Xor:
                    target = (target ^ pixel) | 0xFF000000u;
                    break;
            }
        }
    }
}

}  // namespace pictavo::imaging::vector
