#pragma once
// Points and affine transforms of the drawing layer. Decoders describe a
// picture in the file's own units and hand the rasteriser one transform that
// takes those units to device pixels.

#include <cmath>

namespace pictavo::imaging::vector {

struct Point {
    double x = 0;
    double y = 0;
};

inline Point operator+(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}
inline Point operator-(Point a, Point b) {
    return {a.x - b.x, a.y - b.y};
}
inline Point operator*(Point a, double s) {
    return {a.x * s, a.y * s};
}
inline double length(Point a) {
    return std::hypot(a.x, a.y);
}

// x' = a*x + c*y + e, y' = b*x + d*y + f (the PostScript/SVG matrix order).
struct Transform {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    static Transform translation(double dx, double dy) { return {1, 0, 0, 1, dx, dy}; }
    static Transform scaling(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    static Transform rotation(double radians) {
        const double cosine = std::cos(radians);
        const double sine = std::sin(radians);
        return {cosine, sine, -sine, cosine, 0, 0};
    }

    Point apply(Point p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
    // Applies only the linear part: for directions and extents.
    Point applyVector(Point p) const { return {a * p.x + c * p.y, b * p.x + d * p.y}; }

    // The transform that first applies `first`, then this one.
    Transform after(const Transform& first) const {
        return {a * first.a + c * first.b,     b * first.a + d * first.b,
                a * first.c + c * first.d,     b * first.c + d * first.d,
                a * first.e + c * first.f + e, b * first.e + d * first.f + f};
    }

    // How much the transform stretches lengths on average; widths of pens
    // and the flattening tolerance are scaled by it.
    double meanScale() const { return std::sqrt(std::abs(a * d - b * c)); }
};

}  // namespace pictavo::imaging::vector
