#include "imaging/vector/stroker.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pictavo::imaging::vector {

namespace {

// More dashes than this along one drawing are not worth cutting: past it the
// rest is drawn solid, which also bounds the work a tiny pattern can cause.
constexpr size_t kMaxDashes = 200000;

double cross(Point a, Point b) {
    return a.x * b.y - a.y * b.x;
}

double signedArea(const std::vector<Point>& points) {
    double sum = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        sum += cross(points[i], points[(i + 1) % points.size()]);
    }
    return sum / 2;
}

class OutlineBuilder {
  public:
    explicit OutlineBuilder(const Pen& pen)
        : pen_(pen), half_(pen.width > 1 && pen.width < 1e6 ? pen.width / 2 : 0.5) {}

    void addLine(const Contour& line) {
        std::vector<Point> points = withoutRepeats(line.points);
        const bool closed = line.closed && points.size() > 2;
        if (closed && samePlace(points.front(), points.back())) points.pop_back();
        if (points.size() == 1) {
            addDot(points.front());
            return;
        }
        const size_t segments = closed ? points.size() : points.size() - 1;
        for (size_t i = 0; i < segments; ++i) {
            addSegment(points[i], points[(i + 1) % points.size()]);
        }
        for (size_t i = closed ? 0 : 1; i < (closed ? points.size() : points.size() - 1); ++i) {
            const Point before = points[(i + points.size() - 1) % points.size()];
            addJoin(before, points[i], points[(i + 1) % points.size()]);
        }
        if (!closed) {
            addCap(points[1], points[0]);
            addCap(points[points.size() - 2], points.back());
        }
    }

    std::vector<Contour> take() { return std::move(outlines_); }

  private:
    static bool samePlace(Point a, Point b) {
        return std::abs(a.x - b.x) + std::abs(a.y - b.y) < 1e-9;
    }

    static std::vector<Point> withoutRepeats(const std::vector<Point>& points) {
        std::vector<Point> kept;
        kept.reserve(points.size());
        for (const Point& p : points) {
            if (kept.empty() || !samePlace(kept.back(), p)) kept.push_back(p);
        }
        return kept;
    }

    Point normal(Point from, Point to) const {
        const Point direction = to - from;
        const double size = length(direction);
        return {-direction.y / size * half_, direction.x / size * half_};
    }

    void emit(std::vector<Point> points) {
        if (points.size() < 3) return;
        if (signedArea(points) < 0) std::reverse(points.begin(), points.end());
        outlines_.push_back({std::move(points), true});
    }

    void addSegment(Point from, Point to) {
        const Point n = normal(from, to);
        emit({from + n, to + n, to - n, from - n});
    }

    void addCircle(Point centre) {
        // Enough sides that the polygon strays less than a tenth of a pixel.
        const int sides =
            std::clamp(static_cast<int>(
                           std::ceil(std::numbers::pi / std::acos(1 - 0.1 / std::max(half_, 0.1)))),
                       8, 256);
        std::vector<Point> points;
        points.reserve(static_cast<size_t>(sides));
        for (int i = 0; i < sides; ++i) {
            const double angle = 2 * std::numbers::pi * i / sides;
            points.push_back(
                {centre.x + half_ * std::cos(angle), centre.y + half_ * std::sin(angle)});
        }
        emit(std::move(points));
    }

    void addDot(Point centre) {
        if (pen_.cap == LineCap::Round) {
            addCircle(centre);
        } else if (pen_.cap == LineCap::Square) {
            emit({{centre.x - half_, centre.y - half_},
                  {centre.x + half_, centre.y - half_},
                  {centre.x + half_, centre.y + half_},
                  {centre.x - half_, centre.y + half_}});
        }
    }

    void addJoin(Point before, Point at, Point after) {
        const Point in = at - before;
        const Point out = after - at;
        const double turn = cross(in, out);
        const double straightness = (in.x * out.x + in.y * out.y) / (length(in) * length(out));
        if (straightness > 0.9999) return;  // no visible notch to fill
        if (pen_.join == LineJoin::Round && half_ > 1) {
            addCircle(at);
            return;
        }
        // The outer corner lies on the side the path turns away from.
        const double side = turn > 0 ? -1 : 1;
        const Point n1 = normal(before, at) * side;
        const Point n2 = normal(at, after) * side;
        if (pen_.join == LineJoin::Miter || pen_.join == LineJoin::Round) {
            const Point bisector = n1 + n2;
            const double bisectorLength = length(bisector);
            // The miter reaches half_ / cos(theta/2) from the corner.
            const double cosHalf = bisectorLength / (2 * half_);
            if (cosHalf > 1e-6 && 1 / cosHalf <= pen_.miterLimit) {
                const Point tip = at + bisector * (half_ / cosHalf / bisectorLength);
                emit({at, at + n1, tip, at + n2});
                return;
            }
        }
        emit({at, at + n1, at + n2});
    }

    void addCap(Point inner, Point end) {
        if (pen_.cap == LineCap::Butt) return;
        if (pen_.cap == LineCap::Round) {
            addCircle(end);
            return;
        }
        const Point n = normal(inner, end);
        const Point along{n.y, -n.x};  // half_ long, pointing out of the line
        emit({end + n, end + n + along, end - n + along, end - n});
    }

    const Pen& pen_;
    double half_;
    std::vector<Contour> outlines_;
};

}  // namespace

std::vector<Contour> applyDashes(const std::vector<Contour>& lines,
                                 const std::vector<double>& pattern) {
    double total = 0;
    for (const double length : pattern) total += std::max(length, 0.0);
    if (pattern.size() < 2 || !(total > 0.5)) return lines;
    std::vector<Contour> dashes;
    for (const Contour& line : lines) {
        std::vector<Point> points = line.points;
        if (line.closed && !points.empty()) points.push_back(points.front());
        size_t index = 0;
        double left = pattern[0];
        bool on = true;
        Contour dash;
        if (!points.empty()) dash.points.push_back(points.front());
        for (size_t i = 1; i < points.size(); ++i) {
            Point from = points[i - 1];
            const Point to = points[i];
            double remaining = length(to - from);
            while (remaining > left) {
                if (dashes.size() >= kMaxDashes) return lines;
                from = from + (to - from) * (left / remaining);
                remaining -= left;
                if (on) {
                    dash.points.push_back(from);
                    dashes.push_back(std::move(dash));
                }
                dash = Contour{};
                on = !on;
                if (on) dash.points.push_back(from);
                index = (index + 1) % pattern.size();
                left = std::max(pattern[index], 0.0);
            }
            left -= remaining;
            if (on) dash.points.push_back(to);
        }
        if (on && dash.points.size() > 1) dashes.push_back(std::move(dash));
    }
    return dashes;
}

std::vector<Contour> strokeOutlines(const std::vector<Contour>& lines, const Pen& pen) {
    OutlineBuilder builder(pen);
    auto build = [&builder](const std::vector<Contour>& pieces) {
        for (const Contour& line : pieces) {
            if (!line.points.empty()) builder.addLine(line);
        }
    };
    if (pen.dashes.empty()) {
        build(lines);
    } else {
        build(applyDashes(lines, pen.dashes));
    }
    return builder.take();
}

}  // namespace pictavo::imaging::vector
