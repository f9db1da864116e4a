#include "imaging/decoders/wmf_frame_finder.h"

#include <algorithm>

namespace pictavo::imaging::wmf {

void FrameFinder::setOrigin(double x, double y) {
    if (!origin_) origin_ = vector::Point{x, y};
}

void FrameFinder::setExtent(double x, double y) {
    if (!extent_ && x != 0 && y != 0) extent_ = vector::Point{x, y};
}

void FrameFinder::add(double x, double y) {
    left_ = std::min(left_, x);
    top_ = std::min(top_, y);
    right_ = std::max(right_, x);
    bottom_ = std::max(bottom_, y);
}

void FrameFinder::addText(double x, double y, size_t length) {
    const double height = textHeight_ > 0 ? textHeight_ : 12;
    add(x, y);
    add(x + static_cast<double>(length) * height * 0.6, y + height);
}

std::optional<Frame> FrameFinder::frame() const {
    if (extent_) {
        const vector::Point start = origin_.value_or(vector::Point{});
        return Frame{start.x, start.y, extent_->x, extent_->y};
    }
    if (left_ > right_ || top_ > bottom_) return std::nullopt;
    // Text and pens reach past their anchor points; leave them a margin.
    const double margin = std::max({right_ - left_, bottom_ - top_, 1.0}) * 0.05;
    return Frame{left_ - margin, top_ - margin, right_ - left_ + 2 * margin,
                 bottom_ - top_ + 2 * margin};
}

}  // namespace pictavo::imaging::wmf
