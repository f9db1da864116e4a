#pragma once
// An outline made of straight lines and Bezier curves, in the units of the
// picture that builds it. Curves are flattened to line segments only when
// the outline meets the device, so they stay smooth at any scale.

#include <vector>

#include "imaging/vector/geometry.h"

namespace pictavo::imaging::vector {

// A run of device points; the rasteriser closes every contour it fills.
struct Contour {
    std::vector<Point> points;
    bool closed = false;
};

class Path {
  public:
    void moveTo(Point p);
    void lineTo(Point p);
    void quadTo(Point control, Point end);
    void cubicTo(Point control1, Point control2, Point end);
    void close();

    void addPolygon(const std::vector<Point>& points);
    void addRectangle(Point corner1, Point corner2);
    void addEllipse(Point centre, double radiusX, double radiusY, double rotation = 0);
    // Part of an ellipse from startAngle through sweep (radians, counter-
    // clockwise when y grows upwards). With connect, a line joins the current
    // point to the arc's start; otherwise the arc starts a new contour.
    void addArc(Point centre, double radiusX, double radiusY, double rotation, double startAngle,
                double sweep, bool connect);

    bool empty() const { return verbs_.empty(); }
    // Forgets the outline but keeps the memory, for paths built again and again.
    void clear();
    // The box around every point and control point mapped through
    // transform: it holds the whole outline, since curves stay inside the
    // hull of their control points. False when the path is empty.
    bool controlBox(const Transform& transform, Point& low, Point& high) const;
    // The point the next segment starts from.
    Point currentPoint() const { return current_; }

    // Device contours: points mapped through toDevice, curves cut into
    // segments that stray at most tolerance pixels from the true curve.
    std::vector<Contour> flatten(const Transform& toDevice, double tolerance = 0.05) const;

  private:
    enum class Verb { Move, Line, Quad, Cubic, Close };
    void ensureStarted();

    std::vector<Verb> verbs_;
    std::vector<Point> points_;
    Point current_;
    Point start_;
    bool open_ = false;
};

}  // namespace pictavo::imaging::vector
