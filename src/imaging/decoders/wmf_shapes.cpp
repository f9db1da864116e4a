// Lines, polygons, rectangles, ellipses, arcs and regions in logical
// coordinates, mapped through the window onto the canvas.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "imaging/decoders/wmf_device.h"
#include "imaging/work_costs.h"

namespace pictavo::imaging::wmf {

using vector::Path;
using vector::Point;

namespace {

// A point of a shape read from its record, in the path, and flattened,
// with room for the vectors to grow.
constexpr int64_t kBytesPerPathPoint = 64;

}  // namespace

// Counts work for count points about to be built into a path.
bool Player::spendPoints(size_t count) {
    return canvas_.work().spend(cost::kPoint * static_cast<int64_t>(count));
}

std::vector<Point> Player::readPoints(const Params& p, size_t word, size_t count) {
    std::vector<Point> points;
    count = std::min(count, (p.words() > word ? p.words() - word : 0) / 2);
    if (!spendPoints(count)) return points;
    points.reserve(count);
    for (size_t i = 0; i < count; ++i) points.push_back(pointAt(p, word + 2 * i));
    return points;
}

Player::Ellipse Player::ellipseIn(const Params& p, size_t boxWord) const {
    // Boxes are stored bottom, right, top, left.
    const Point a = toDevice(p.i16(boxWord + 3), p.i16(boxWord + 2));
    const Point b = toDevice(p.i16(boxWord + 1), p.i16(boxWord));
    return {{(a.x + b.x) / 2, (a.y + b.y) / 2}, std::abs(b.x - a.x) / 2, std::abs(b.y - a.y) / 2};
}

void Player::lineTo(const Params& p) {
    const Point to = toDevice(p.i16(1), p.i16(0));
    Path path;
    path.moveTo(state_.position);
    path.lineTo(to);
    strokeShape(path);
    state_.position = to;
}

void Player::polyline(const Params& p, bool closed) {
    const auto points = readPoints(p, 1, p.u16(0));
    if (points.empty()) return;
    Path path;
    path.moveTo(points.front());
    for (size_t i = 1; i < points.size(); ++i) path.lineTo(points[i]);
    if (closed) {
        path.close();
        drawShape(path, true);
    } else {
        strokeShape(path);
    }
}

void Player::polyPolygon(const Params& p) {
    const size_t polygons = p.u16(0);
    size_t claimed = 0;
    for (size_t i = 0; i < polygons; ++i) claimed += p.u16(1 + i);
    // Read, kept in the path and flattened: the memory is held first.
    const size_t stored = std::min(claimed, p.words() / 2);
    const HeldBytes held(canvas_.work(), static_cast<int64_t>(stored) * kBytesPerPathPoint);
    if (!held) return;
    size_t word = 1 + polygons;
    Path path;
    for (size_t i = 0; i < polygons && word < p.words(); ++i) {
        const size_t count = p.u16(1 + i);
        const auto points = readPoints(p, word, count);
        path.addPolygon(points);
        word += 2 * count;
    }
    drawShape(path, true);
}

void Player::rectangle(const Params& p) {
    Path path;
    path.addRectangle(toDevice(p.i16(3), p.i16(2)), toDevice(p.i16(1), p.i16(0)));
    drawShape(path, true);
}

void Player::ellipse(const Params& p) {
    const Ellipse e = ellipseIn(p, 0);
    Path path;
    path.addEllipse(e.centre, e.radiusX, e.radiusY);
    drawShape(path, true);
}

void Player::roundRect(const Params& p) {
    const Ellipse box = ellipseIn(p, 2);
    const double rx = std::min(std::abs(p.i16(1) * scaleX()) / 2, box.radiusX);
    const double ry = std::min(std::abs(p.i16(0) * scaleY()) / 2, box.radiusY);
    const double left = box.centre.x - box.radiusX;
    const double right = box.centre.x + box.radiusX;
    const double top = box.centre.y - box.radiusY;
    const double bottom = box.centre.y + box.radiusY;
    const double quarter = std::numbers::pi / 2;
    Path path;
    path.addArc({right - rx, top + ry}, rx, -ry, 0, 0, quarter, false);
    path.addArc({left + rx, top + ry}, rx, -ry, 0, quarter, quarter, true);
    path.addArc({left + rx, bottom - ry}, rx, -ry, 0, 2 * quarter, quarter, true);
    path.addArc({right - rx, bottom - ry}, rx, -ry, 0, 3 * quarter, quarter, true);
    path.close();
    drawShape(path, true);
}

// Arc, chord and pie: counter-clockwise on screen from the start radial
// to the end radial.
void Player::arcFamily(const Params& p, int closing) {
    const Ellipse e = ellipseIn(p, 4);
    const Point end = toDevice(p.i16(1), p.i16(0));
    const Point start = toDevice(p.i16(3), p.i16(2));
    auto angleOf = [&](Point radial) {
        return std::atan2(-(radial.y - e.centre.y) / std::max(e.radiusY, 1e-9),
                          (radial.x - e.centre.x) / std::max(e.radiusX, 1e-9));
    };
    const double from = angleOf(start);
    double sweep = angleOf(end) - from;
    while (sweep <= 1e-9) sweep += 2 * std::numbers::pi;
    Path path;
    // Screen y grows downwards: a negative y radius turns the arc the
    // way the screen counts counter-clockwise.
    path.addArc(e.centre, e.radiusX, -e.radiusY, 0, from, sweep, false);
    if (closing == 0) {
        strokeShape(path);
        return;
    }
    if (closing == 2) path.lineTo(e.centre);
    path.close();
    drawShape(path, true);
}

void Player::setPixel(const Params& p) {
    const Point at = toDevice(p.i16(3), p.i16(2));
    fillDeviceRect({std::floor(at.x), std::floor(at.y), std::floor(at.x) + 1, std::floor(at.y) + 1},
                   colourOf(p.u32(0)));
}

void Player::fillRegion(size_t regionIndex, size_t brushIndex) {
    const GdiObject* region = objects_.find(regionIndex, GdiObject::Kind::Region);
    const GdiObject* brush = objects_.find(brushIndex, GdiObject::Kind::Brush);
    if (!region || !brush) return;
    const BrushState saved = state_.brush;
    state_.brush = brush->brush;
    if (auto paint = brushPaint()) {
        for (const auto& rect : region->region.rects) {
            fillDeviceRect(deviceRect(rect.left, rect.top, rect.right, rect.bottom), *paint);
        }
    }
    state_.brush = saved;
}

}  // namespace pictavo::imaging::wmf
