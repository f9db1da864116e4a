#include "imaging/vector/curves.h"

#include <algorithm>
#include <cmath>

namespace pictavo::imaging::vector {

Point evaluateBSpline(int degree, std::span<const double> knots, std::span<const Point> controls,
                      std::span<const double> weights, double t) {
    const int n = static_cast<int>(controls.size());
    // The span holding t: the last knot at or before it, from degree to n - 1,
    // found by halving (a spline may have a million knots and be sampled
    // thousands of times).
    const auto first = knots.begin() + degree + 1;
    const auto last = knots.begin() + std::max(n, degree + 1);
    const int span = static_cast<int>(std::upper_bound(first, last, t) - knots.begin()) - 1;
    struct Homogeneous {
        double x, y, w;
    };
    std::vector<Homogeneous> d(static_cast<size_t>(degree) + 1);
    for (int j = 0; j <= degree; ++j) {
        const auto index = static_cast<size_t>(std::clamp(j + span - degree, 0, n - 1));
        const double w = weights.size() == controls.size() ? weights[index] : 1.0;
        d[static_cast<size_t>(j)] = {controls[index].x * w, controls[index].y * w, w};
    }
    for (int r = 1; r <= degree; ++r) {
        for (int j = degree; j >= r; --j) {
            const auto i = static_cast<size_t>(j + span - degree);
            const double left = knots[i];
            const double right =
                knots[i + static_cast<size_t>(degree) - static_cast<size_t>(r) + 1];
            const double alpha = right > left ? (t - left) / (right - left) : 0;
            auto& a = d[static_cast<size_t>(j)];
            const auto& b = d[static_cast<size_t>(j) - 1];
            a = {b.x + alpha * (a.x - b.x), b.y + alpha * (a.y - b.y), b.w + alpha * (a.w - b.w)};
        }
    }
    const auto& result = d[static_cast<size_t>(degree)];
    if (result.w == 0) return {result.x, result.y};
    return {result.x / result.w, result.y / result.w};
}

std::vector<Point> sampleBSpline(int degree, std::vector<double> knots,
                                 std::span<const Point> controls, std::span<const double> weights,
                                 size_t stepsPerSpan, size_t maxPoints) {
    if (controls.size() < 2) return {controls.begin(), controls.end()};
    degree = std::clamp(degree, 1, static_cast<int>(controls.size()) - 1);
    const size_t knotCount = controls.size() + static_cast<size_t>(degree) + 1;
    bool knotsUsable = knots.size() == knotCount;
    for (size_t i = 1; knotsUsable && i < knots.size(); ++i) {
        if (!(knots[i] >= knots[i - 1])) knotsUsable = false;
    }
    if (!knotsUsable) {
        knots.assign(knotCount, 0);
        const int inner = static_cast<int>(controls.size()) - degree;
        for (size_t i = 0; i < knotCount; ++i) {
            const int k = static_cast<int>(i) - degree;
            knots[i] = std::clamp(k, 0, inner);
        }
    }
    const double start = knots[static_cast<size_t>(degree)];
    const double end = knots[controls.size()];
    if (!(end > start)) return {controls.begin(), controls.end()};
    const size_t spans = controls.size() - static_cast<size_t>(degree);
    const size_t steps = std::min(maxPoints, spans * stepsPerSpan);
    std::vector<Point> points;
    points.reserve(steps + 1);
    for (size_t i = 0; i <= steps; ++i) {
        const double t =
            start + (end - start) * static_cast<double>(i) / static_cast<double>(steps);
        points.push_back(evaluateBSpline(degree, knots, controls, weights, t));
    }
    return points;
}

std::vector<Point> catmullRomThrough(std::span<const Point> fit, size_t stepsPerSpan,
                                     size_t maxPoints) {
    if (fit.size() < 3) return {fit.begin(), fit.end()};
    std::vector<Point> points;
    const size_t steps =
        std::max<size_t>(1, std::min<size_t>(stepsPerSpan, maxPoints / fit.size()));
    points.push_back(fit.front());
    for (size_t i = 0; i + 1 < fit.size(); ++i) {
        const Point p0 = fit[i == 0 ? 0 : i - 1];
        const Point p1 = fit[i];
        const Point p2 = fit[i + 1];
        const Point p3 = fit[std::min(i + 2, fit.size() - 1)];
        for (size_t k = 1; k <= steps; ++k) {
            const double t = static_cast<double>(k) / static_cast<double>(steps);
            const double t2 = t * t;
            const double t3 = t2 * t;
            points.push_back((p1 * 2 + (p2 - p0) * t + (p0 * 2 - p1 * 5 + p2 * 4 - p3) * t2 +
                              (p1 * 3 - p0 - p2 * 3 + p3) * t3) *
                             0.5);
        }
    }
    return points;
}

void addBulgeArc(Path& path, Point from, Point to, double bulge) {
    const Point chord = to - from;
    const double span = length(chord);
    if (span == 0 || !std::isfinite(bulge) || std::abs(bulge) < 1e-9) {
        path.lineTo(to);
        return;
    }
    const Point middle = from + chord * 0.5;
    const Point normal{-chord.y / span, chord.x / span};
    const Point centre = middle + normal * (span * (1 - bulge * bulge) / (4 * bulge));
    const double radius = length(from - centre);
    const double start = std::atan2(from.y - centre.y, from.x - centre.x);
    path.addArc(centre, radius, radius, 0, start, 4 * std::atan(bulge), true);
    path.lineTo(to);
}

}  // namespace pictavo::imaging::vector
