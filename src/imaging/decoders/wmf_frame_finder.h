#pragma once
// Where a metafile's picture lies: the window it sets for itself (its
// first window origin and extent), or else a box grown around the points
// its records draw at.

#include <cstddef>
#include <optional>

#include "imaging/decoders/wmf_player.h"
#include "imaging/vector/geometry.h"

namespace pictavo::imaging::wmf {

class FrameFinder {
  public:
    // Only the first origin and the first usable extent count.
    void setOrigin(double x, double y);
    void setExtent(double x, double y);
    void setTextHeight(double height) { textHeight_ = height; }
    void add(double x, double y);
    // Text reaches right of and below its anchor by about its length and height.
    void addText(double x, double y, size_t length);
    std::optional<Frame> frame() const;

  private:
    std::optional<vector::Point> origin_;
    std::optional<vector::Point> extent_;
    double left_ = 1e300;
    double top_ = 1e300;
    double right_ = -1e300;
    double bottom_ = -1e300;
    double textHeight_ = 0;
};

}  // namespace pictavo::imaging::wmf
