#pragma once
// Anti-aliased polygon filling by exact area coverage: every edge leaves, in
// each pixel it crosses, the signed height it covers there ("cover") and the
// part of the pixel to its right ("area"). Summing cover along a row from the
// left gives the winding at any pixel, and area gives the fractional edge
// pixels, so one sweep yields both the non-zero and the even-odd fill.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/vector/path.h"

namespace pictavo::imaging::vector {

enum class FillRule { NonZero, EvenOdd };

// Receives the covered pixels of a fill, row by row, left to right.
class SpanSink {
  public:
    virtual ~SpanSink() = default;
    // count pixels from (x, y) are covered by alpha/255.
    virtual void span(int y, int x, int count, uint8_t alpha) = 0;
};

// A fill whose edges cross more pixels than this (16 MB of cells, a few
// tenths of a second to sort) is a hostile one: a polygon zigzagging across
// the picture thousands of times.
inline constexpr size_t kMaxCells = size_t{1} << 20;

class Rasterizer {
  public:
    // Starts a new fill on a device of width x height pixels.
    void reset(int width, int height);
    // Adds a contour, closing it back to its first point.
    void addContour(const Contour& contour);
    void addContours(const std::vector<Contour>& contours);
    void addLine(Point from, Point to);
    // Edge cells gathered so far: the work the next sweep has to sort.
    size_t cellCount() const { return cells_.size(); }
    // True when the fill needed more cells than kMaxCells: its edges were
    // dropped, and the fill is not worth drawing.
    bool overflowed() const { return overflowed_; }
    // Sends the fill's spans to sink and forgets the edges.
    void sweep(FillRule rule, SpanSink& sink);

  private:
    struct Cell {
        int32_t x;
        int32_t y;
        float cover;
        float area;
    };
    void addRowPiece(int row, double x0, double y0, double x1, double y1);
    void addToCell(int x, int y, double cover, double area);
    void flushCell();

    int width_ = 0;
    int height_ = 0;
    std::vector<Cell> cells_;
    Cell current_{-1, -1, 0, 0};
    bool overflowed_ = false;
};

}  // namespace pictavo::imaging::vector
