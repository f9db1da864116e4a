// The clip rectangle (intersected with boxes, set from regions) and the
// stack of saved device contexts.

#include <algorithm>
#include <cmath>

#include "imaging/decoders/wmf_device.h"

namespace pictavo::imaging::wmf {

namespace {

using vector::Point;

// A hostile file could save states forever; real ones nest a few deep.
constexpr size_t kMaxSavedStates = 1024;

}  // namespace

void Player::save() {
    if (saved_.size() < kMaxSavedStates) saved_.push_back(state_);
}

void Player::restore(int which) {
    if (saved_.empty()) return;
    // Negative: relative to the newest saved state; positive: absolute.
    size_t keep = 0;
    if (which < 0) {
        const size_t back = static_cast<size_t>(-which);
        if (back > saved_.size()) return;
        keep = saved_.size() - back;
    } else {
        if (which == 0 || static_cast<size_t>(which) > saved_.size()) return;
        keep = static_cast<size_t>(which) - 1;
    }
    state_ = saved_[keep];
    saved_.resize(keep);
    applyClip();
}

void Player::applyClip() {
    canvas_.setClip(state_.clipLeft, state_.clipTop, state_.clipRight, state_.clipBottom);
}

void Player::intersectClip(const Params& p) {
    // Stored bottom, right, top, left.
    const Point a = toDevice(p.i16(3), p.i16(2));
    const Point b = toDevice(p.i16(1), p.i16(0));
    const auto round = [](double v) {
        return static_cast<int>(std::clamp(std::lround(v), -(1L << 30), 1L << 30));
    };
    state_.clipLeft = std::max(state_.clipLeft, round(std::min(a.x, b.x)));
    state_.clipTop = std::max(state_.clipTop, round(std::min(a.y, b.y)));
    state_.clipRight = std::min(state_.clipRight, round(std::max(a.x, b.x)));
    state_.clipBottom = std::min(state_.clipBottom, round(std::max(a.y, b.y)));
    applyClip();
}

// A region clips to the box around it: its bounds, found once when it was
// made, however many rectangles it holds or however often it is selected.
void Player::clipToRegion(const Rects& region) {
    if (region.rects.empty()) return;
    const Point a = toDevice(region.bounds.left, region.bounds.top);
    const Point b = toDevice(region.bounds.right, region.bounds.bottom);
    state_.clipLeft = static_cast<int>(std::clamp(std::floor(std::min(a.x, b.x)), 0.0, 1e9));
    state_.clipTop = static_cast<int>(std::clamp(std::floor(std::min(a.y, b.y)), 0.0, 1e9));
    state_.clipRight = static_cast<int>(std::clamp(std::ceil(std::max(a.x, b.x)), 0.0, 1e9));
    state_.clipBottom = static_cast<int>(std::clamp(std::ceil(std::max(a.y, b.y)), 0.0, 1e9));
    applyClip();
}

void Player::resetClip() {
    state_.clipLeft = state_.clipTop = 0;
    state_.clipRight = canvas_.width();
    state_.clipBottom = canvas_.height();
    applyClip();
}

void Player::selectClipRegion(size_t index) {
    if (const GdiObject* region = objects_.find(index, GdiObject::Kind::Region)) {
        clipToRegion(region->region);
    } else {
        resetClip();
    }
}

}  // namespace pictavo::imaging::wmf
