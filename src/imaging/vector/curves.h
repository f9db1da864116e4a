#pragma once
// Curves as polylines: B-splines (rational or not), Catmull-Rom curves
// through given points, and arcs given by a chord and its bulge.

#include <cstddef>
#include <span>
#include <vector>

#include "imaging/vector/geometry.h"
#include "imaging/vector/path.h"

namespace pictavo::imaging::vector {

// The B-spline's value at t (de Boor), rational when there is one weight
// per control point. knots holds controls.size() + degree + 1 values, in
// order.
Point evaluateBSpline(int degree, std::span<const double> knots, std::span<const Point> controls,
                      std::span<const double> weights, double t);

// The B-spline sampled stepsPerSpan times per knot span, at most maxPoints
// times in all. A degree beyond what the control points allow is lowered;
// knots that are missing, too few or out of order give way to a clamped
// uniform vector, so the curve starts and ends at its end points.
std::vector<Point> sampleBSpline(int degree, std::vector<double> knots,
                                 std::span<const Point> controls, std::span<const double> weights,
                                 size_t stepsPerSpan, size_t maxPoints);

// A smooth curve through the points (Catmull-Rom), each span sampled the
// same number of times, at most stepsPerSpan and about maxPoints in all.
std::vector<Point> catmullRomThrough(std::span<const Point> through, size_t stepsPerSpan,
                                     size_t maxPoints);

// Continues path from `from` to `to` along an arc whose bulge is the
// tangent of a quarter of its angle, positive counter-clockwise; a straight
// line when the bulge is 0 or not a number.
void addBulgeArc(Path& path, Point from, Point to, double bulge);

}  // namespace pictavo::imaging::vector
