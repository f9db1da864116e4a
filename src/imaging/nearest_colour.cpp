#include "imaging/nearest_colour.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace pictavo::imaging {

namespace {

constexpr int kCellBits = 5;
constexpr int kCellShift = 8 - kCellBits;
constexpr int kCellSize = 1 << kCellShift;

int square(int v) {
    return v * v;
}

// Distance from value to the interval [low, high] along one axis.
int gap(int value, int low, int high) {
    if (value < low) return low - value;
    if (value > high) return value - high;
    return 0;
}

int farthest(int value, int low, int high) {
    return std::max(std::abs(value - low), std::abs(value - high));
}

}  // namespace

NearestColour::NearestColour(std::span<const Pixel> palette)
    : cellStart_(size_t{1} << (3 * kCellBits), -1), cellCount_(size_t{1} << (3 * kCellBits), 0) {
    colours_.reserve(palette.size());
    for (Pixel p : palette) colours_.push_back({red(p), green(p), blue(p)});
}

std::span<const NearestColour::Candidate> NearestColour::candidates(int cell) {
    const auto slot = static_cast<size_t>(cell);
    if (cellStart_[slot] < 0) {
        const int low[3] = {(cell >> (2 * kCellBits)) << kCellShift,
                            ((cell >> kCellBits) & ((1 << kCellBits) - 1)) << kCellShift,
                            (cell & ((1 << kCellBits) - 1)) << kCellShift};
        // No colour in the cell is farther from its nearest entry than the
        // smallest worst-case distance of any entry; entries whose best case
        // exceeds that can never win there.
        int bound = std::numeric_limits<int>::max();
        for (const auto& c : colours_) {
            int worst = 0;
            for (int axis = 0; axis < 3; ++axis) {
                worst += square(farthest(c[axis], low[axis], low[axis] + kCellSize - 1));
            }
            bound = std::min(bound, worst);
        }
        cellStart_[slot] = static_cast<int32_t>(candidates_.size());
        for (size_t i = 0; i < colours_.size(); ++i) {
            int best = 0;
            for (int axis = 0; axis < 3; ++axis) {
                best += square(gap(colours_[i][axis], low[axis], low[axis] + kCellSize - 1));
            }
            if (best <= bound) {
                const auto& c = colours_[i];
                candidates_.push_back({static_cast<int16_t>(c[0]), static_cast<int16_t>(c[1]),
                                       static_cast<int16_t>(c[2]), static_cast<uint16_t>(i)});
            }
        }
        cellCount_[slot] =
            static_cast<uint16_t>(candidates_.size() - static_cast<size_t>(cellStart_[slot]));
    }
    return std::span<const Candidate>(candidates_)
        .subspan(static_cast<size_t>(cellStart_[slot]), cellCount_[slot]);
}

int NearestColour::find(int r, int g, int b) {
    const int cell = ((r >> kCellShift) << (2 * kCellBits)) | ((g >> kCellShift) << kCellBits) |
                     (b >> kCellShift);
    int bestIndex = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (const Candidate& c : candidates(cell)) {
        const int distance = square(r - c.r) + square(g - c.g) + square(b - c.b);
        if (distance < bestDistance) {
            bestDistance = distance;
            bestIndex = c.index;
        }
    }
    return bestIndex;
}

}  // namespace pictavo::imaging
