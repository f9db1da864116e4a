#include "imaging/vector/rasterizer.h"

#include <algorithm>
#include <cmath>

namespace pictavo::imaging::vector {

namespace {

// Far beyond any picture we allow, near enough that floor() fits an int.
constexpr double kCoordinateLimit = 1 << 24;

double tame(double value) {
    if (std::isnan(value)) return 0;
    return std::clamp(value, -kCoordinateLimit, kCoordinateLimit);
}

uint8_t alphaFor(double winding, FillRule rule) {
    double value = std::abs(winding);
    if (rule == FillRule::EvenOdd) {
        value = std::fmod(value, 2.0);
        if (value > 1) value = 2 - value;
    } else if (value > 1) {
        value = 1;
    }
    return static_cast<uint8_t>(value * 255 + 0.5);
}

}  // namespace

void Rasterizer::reset(int width, int height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    cells_.clear();
    current_ = {-1, -1, 0, 0};
    overflowed_ = false;
}

void Rasterizer::addContours(const std::vector<Contour>& contours) {
    for (const Contour& contour : contours) addContour(contour);
}

void Rasterizer::addContour(const Contour& contour) {
    const auto& points = contour.points;
    if (points.size() < 2) return;
    for (size_t i = 1; i < points.size(); ++i) addLine(points[i - 1], points[i]);
    addLine(points.back(), points.front());
}

void Rasterizer::addLine(Point from, Point to) {
    const double x0 = tame(from.x);
    const double y0 = tame(from.y);
    const double x1 = tame(to.x);
    const double y1 = tame(to.y);
    if (y0 == y1) return;  // horizontal edges cover no height
    const double top = std::clamp(std::min(y0, y1), 0.0, static_cast<double>(height_));
    const double bottom = std::clamp(std::max(y0, y1), 0.0, static_cast<double>(height_));
    if (top >= bottom) return;
    const double dxdy = (x1 - x0) / (y1 - y0);
    auto xAt = [&](double y) { return x0 + (y - y0) * dxdy; };

    const int firstRow = static_cast<int>(std::floor(top));
    const int lastRow = static_cast<int>(std::ceil(bottom)) - 1;
    if (y1 > y0) {
        for (int row = firstRow; row <= lastRow; ++row) {
            const double ya = std::max(top, static_cast<double>(row));
            const double yb = std::min(bottom, static_cast<double>(row + 1));
            addRowPiece(row, xAt(ya), ya - row, xAt(yb), yb - row);
        }
    } else {
        for (int row = lastRow; row >= firstRow; --row) {
            const double ya = std::min(bottom, static_cast<double>(row + 1));
            const double yb = std::max(top, static_cast<double>(row));
            addRowPiece(row, xAt(ya), ya - row, xAt(yb), yb - row);
        }
    }
}

// One edge within one pixel row, y relative to the row's top (0..1).
void Rasterizer::addRowPiece(int row, double x0, double y0, double x1, double y1) {
    const double width = static_cast<double>(width_);
    if (x0 == x1) {
        const double dy = y1 - y0;
        if (x0 >= width) return;
        if (x0 < 0) {
            addToCell(0, row, dy, dy);
            return;
        }
        const int cell = static_cast<int>(x0);
        addToCell(cell, row, dy, dy * (1 - (x0 - cell)));
        return;
    }
    // Walk left to right; each piece keeps the sign of the edge's own direction.
    const double direction = x1 > x0 ? 1.0 : -1.0;
    const double slope = (y1 - y0) / (x1 - x0);
    const double left = std::min(x0, x1);
    const double right = std::max(x0, x1);
    auto heightOver = [&](double from, double to) { return (to - from) * slope * direction; };

    if (left < 0) {
        // Left of the device the edge covers whole pixels: fold it onto column 0.
        const double dy = heightOver(left, std::min(right, 0.0));
        addToCell(0, row, dy, dy);
    }
    const double start = std::max(left, 0.0);
    const double end = std::min(right, width);
    if (start >= end) return;
    int cell = static_cast<int>(start);
    double position = start;
    while (position < end) {
        const double next = std::min(static_cast<double>(cell + 1), end);
        const double dy = heightOver(position, next);
        const double middle = (position + next) / 2 - cell;
        addToCell(cell, row, dy, dy * (1 - middle));
        position = next;
        ++cell;
    }
}

void Rasterizer::addToCell(int x, int y, double cover, double area) {
    if (x != current_.x || y != current_.y) {
        flushCell();
        current_ = {x, y, 0, 0};
    }
    current_.cover += static_cast<float>(cover);
    current_.area += static_cast<float>(area);
}

void Rasterizer::flushCell() {
    if (current_.x >= 0 && (current_.cover != 0 || current_.area != 0)) {
        if (cells_.size() < kMaxCells) {
            cells_.push_back(current_);
        } else {
            overflowed_ = true;
        }
    }
    current_ = {-1, -1, 0, 0};
}

void Rasterizer::sweep(FillRule rule, SpanSink& sink) {
    flushCell();
    if (overflowed_) {
        cells_.clear();
        return;
    }
    std::sort(cells_.begin(), cells_.end(),
              [](const Cell& a, const Cell& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    size_t i = 0;
    while (i < cells_.size()) {
        const int row = cells_[i].y;
        double winding = 0;
        while (i < cells_.size() && cells_[i].y == row) {
            const int x = cells_[i].x;
            double cover = 0;
            double area = 0;
            for (; i < cells_.size() && cells_[i].y == row && cells_[i].x == x; ++i) {
                cover += cells_[i].cover;
                area += cells_[i].area;
            }
            if (const uint8_t alpha = alphaFor(winding + area, rule); alpha != 0) {
                sink.span(row, x, 1, alpha);
            }
            winding += cover;
            const int nextX = (i < cells_.size() && cells_[i].y == row) ? cells_[i].x : width_;
            if (nextX > x + 1) {
                if (const uint8_t alpha = alphaFor(winding, rule); alpha != 0) {
                    sink.span(row, x + 1, nextX - x - 1, alpha);
                }
            }
        }
    }
    cells_.clear();
}

}  // namespace pictavo::imaging::vector
