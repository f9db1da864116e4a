#include "imaging/vector/path.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pictavo::imaging::vector {

namespace {

// More segments than this per curve adds nothing visible and bounds the work
// a hostile curve can ask for.
constexpr int kMaxSegmentsPerCurve = 512;

int segmentCount(double bend, double tolerance) {
    if (!(bend > 0)) return 1;
    const double count = std::ceil(std::sqrt(bend / tolerance));
    if (!(count < kMaxSegmentsPerCurve)) return kMaxSegmentsPerCurve;
    return std::max(1, static_cast<int>(count));
}

void flattenQuad(Point p0, Point p1, Point p2, double tolerance, std::vector<Point>& out) {
    // Uniform steps stray at most |p0 - 2p1 + p2| / (4 n^2).
    const int n = segmentCount(length(p0 - p1 * 2 + p2) / 4, tolerance);
    for (int i = 1; i <= n; ++i) {
        const double t = static_cast<double>(i) / n;
        const double u = 1 - t;
        out.push_back(p0 * (u * u) + p1 * (2 * u * t) + p2 * (t * t));
    }
}

void flattenCubic(Point p0, Point p1, Point p2, Point p3, double tolerance,
                  std::vector<Point>& out) {
    // Uniform steps stray at most 3/4 max(|p0 - 2p1 + p2|, |p1 - 2p2 + p3|) / n^2.
    const double bend = std::max(length(p0 - p1 * 2 + p2), length(p1 - p2 * 2 + p3));
    const int n = segmentCount(bend * 0.75, tolerance);
    for (int i = 1; i <= n; ++i) {
        const double t = static_cast<double>(i) / n;
        const double u = 1 - t;
        out.push_back(p0 * (u * u * u) + p1 * (3 * u * u * t) + p2 * (3 * u * t * t) +
                      p3 * (t * t * t));
    }
}

}  // namespace

void Path::ensureStarted() {
    if (!open_) moveTo(current_);
}

void Path::moveTo(Point p) {
    verbs_.push_back(Verb::Move);
    points_.push_back(p);
    current_ = start_ = p;
    open_ = true;
}

void Path::lineTo(Point p) {
    ensureStarted();
    verbs_.push_back(Verb::Line);
    points_.push_back(p);
    current_ = p;
}

void Path::quadTo(Point control, Point end) {
    ensureStarted();
    verbs_.push_back(Verb::Quad);
    points_.push_back(control);
    points_.push_back(end);
    current_ = end;
}

void Path::cubicTo(Point control1, Point control2, Point end) {
    ensureStarted();
    verbs_.push_back(Verb::Cubic);
    points_.push_back(control1);
    points_.push_back(control2);
    points_.push_back(end);
    current_ = end;
}

void Path::close() {
    if (!open_) return;
    verbs_.push_back(Verb::Close);
    current_ = start_;
    open_ = false;
}

void Path::clear() {
    verbs_.clear();
    points_.clear();
    current_ = start_ = Point{};
    open_ = false;
}

bool Path::controlBox(const Transform& transform, Point& low, Point& high) const {
    if (points_.empty()) return false;
    low = high = transform.apply(points_.front());
    for (const Point& p : points_) {
        const Point mapped = transform.apply(p);
        low = {std::min(low.x, mapped.x), std::min(low.y, mapped.y)};
        high = {std::max(high.x, mapped.x), std::max(high.y, mapped.y)};
    }
    return true;
}

void Path::addPolygon(const std::vector<Point>& points) {
    if (points.empty()) return;
    moveTo(points.front());
    for (size_t i = 1; i < points.size(); ++i) lineTo(points[i]);
    close();
}

void Path::addRectangle(Point corner1, Point corner2) {
    addPolygon({corner1, {corner2.x, corner1.y}, corner2, {corner1.x, corner2.y}});
}

void Path::addEllipse(Point centre, double radiusX, double radiusY, double rotation) {
    addArc(centre, radiusX, radiusY, rotation, 0, 2 * std::numbers::pi, false);
    close();
}

void Path::addArc(Point centre, double radiusX, double radiusY, double rotation, double startAngle,
                  double sweep, bool connect) {
    if (!std::isfinite(startAngle) || !std::isfinite(sweep)) return;
    sweep = std::clamp(sweep, -2 * std::numbers::pi, 2 * std::numbers::pi);
    const Transform place =
        Transform::translation(centre.x, centre.y).after(Transform::rotation(rotation));
    auto onEllipse = [&](double angle) {
        return place.apply({radiusX * std::cos(angle), radiusY * std::sin(angle)});
    };
    // Tangent of length radius at angle, for the Bezier handles.
    auto tangent = [&](double angle) {
        return place.applyVector({-radiusX * std::sin(angle), radiusY * std::cos(angle)});
    };

    const Point first = onEllipse(startAngle);
    if (connect && open_) {
        lineTo(first);
    } else {
        moveTo(first);
    }
    // Quarter turns or less: one cubic each, within 0.03% of the radius.
    const int pieces =
        std::max(1, static_cast<int>(std::ceil(std::abs(sweep) / (std::numbers::pi / 2) - 1e-9)));
    const double step = sweep / pieces;
    const double handle = 4.0 / 3.0 * std::tan(step / 4);
    double angle = startAngle;
    for (int i = 0; i < pieces; ++i) {
        const double next = angle + step;
        cubicTo(onEllipse(angle) + tangent(angle) * handle,
                onEllipse(next) - tangent(next) * handle, onEllipse(next));
        angle = next;
    }
}

std::vector<Contour> Path::flatten(const Transform& toDevice, double tolerance) const {
    std::vector<Contour> contours;
    tolerance = std::max(tolerance, 0.01);
    size_t index = 0;
    Point last;
    for (const Verb verb : verbs_) {
        switch (verb) {
            case Verb::Move:
                last = toDevice.apply(points_[index++]);
                contours.push_back({{last}, false});
                break;
            case Verb::Line:
                last = toDevice.apply(points_[index++]);
                contours.back().points.push_back(last);
                break;
            case Verb::Quad: {
                const Point control = toDevice.apply(points_[index]);
                const Point end = toDevice.apply(points_[index + 1]);
                index += 2;
                flattenQuad(last, control, end, tolerance, contours.back().points);
                last = end;
                break;
            }
            case Verb::Cubic: {
                const Point control1 = toDevice.apply(points_[index]);
                const Point control2 = toDevice.apply(points_[index + 1]);
                const Point end = toDevice.apply(points_[index + 2]);
                index += 3;
                flattenCubic(last, control1, control2, end, tolerance, contours.back().points);
                last = end;
                break;
            }
            case Verb::Close:
                contours.back().closed = true;
                last = contours.back().points.front();
                break;
        }
    }
    return contours;
}

}  // namespace pictavo::imaging::vector
