#pragma once
// Turns lines into the outlines of the ink a pen leaves along them. The
// outlines all wind the same way, so filling them with the non-zero rule
// gives their union: overlapping segments never show seams.

#include <vector>

#include "imaging/vector/path.h"

namespace pictavo::imaging::vector {

enum class LineCap { Butt, Square, Round };
enum class LineJoin { Miter, Bevel, Round };

struct Pen {
    double width = 1;  // device pixels; thinner pens are drawn one pixel wide
    LineCap cap = LineCap::Round;
    LineJoin join = LineJoin::Round;
    double miterLimit = 10;
    // Alternating dash and gap lengths in device pixels; empty for solid.
    std::vector<double> dashes;
};

// Outlines (to fill non-zero) of the strokes along device contours.
std::vector<Contour> strokeOutlines(const std::vector<Contour>& lines, const Pen& pen);

// The dashes of the pen's pattern along the lines, as open contours.
std::vector<Contour> applyDashes(const std::vector<Contour>& lines,
                                 const std::vector<double>& pattern);

}  // namespace pictavo::imaging::vector
