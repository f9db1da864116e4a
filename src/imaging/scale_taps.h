#pragma once
// The filter every re-rendering of a picture uses, whether the picture is
// held whole (resample) or arrives a row at a time (RowScaler): each axis
// on its own, area-averaging where it shrinks, bilinear where it grows, in
// fixed point so that a flat colour stays exactly flat. Both read the same
// tables, so a picture scaled as it is decoded has the pixels it had when
// it was decoded whole and scaled afterwards.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pictavo::imaging {

inline constexpr int kWeightBits = 14;
inline constexpr int32_t kWeightOne = 1 << kWeightBits;

// For each output position along one axis: the first source position it
// reads and the weights of consecutive source positions, which add up to
// exactly kWeightOne.
struct Taps {
    std::vector<int32_t> first;
    std::vector<int32_t> offset;  // into weights; offset[i + 1] - offset[i] taps
    std::vector<int32_t> weights;
    // The weights again, two taps to a 32-bit word (an odd count ends with
    // a zero weight): the form the vector unit multiplies and adds pairwise.
    std::vector<int32_t> pairs;
    std::vector<int32_t> pairOffset;

    int64_t total() const { return static_cast<int64_t>(weights.size()); }
    int outputs() const { return static_cast<int>(first.size()); }
};

// Area-averaging when output < source, bilinear otherwise.
Taps tapsFor(int source, int output);

// Whether the horizontal pass goes first: whichever order touches fewer
// source bytes, the larger shrink first.
bool acrossFirst(int sourceWidth, int sourceHeight, const Taps& across, const Taps& down);

inline uint8_t normalise(int32_t sum) {
    const int32_t value = (sum + kWeightOne / 2) >> kWeightBits;
    return static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

// sum[i] += weight * bytes[i] for count bytes: the hot loop of the pass
// across rows. Weights are at most kWeightOne, so each product is a 16-bit
// by 16-bit one.
void addWeighted(int32_t* sum, const uint8_t* bytes, int32_t weight, size_t count);

// One line of pixels (four bytes each, filtered independently) through
// taps: taps.outputs() pixels out.
void filterLine(const uint8_t* in, const Taps& taps, uint8_t* out);

}  // namespace pictavo::imaging
