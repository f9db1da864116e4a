#include "imaging/piece_scaler.h"

#include <algorithm>
#include <cmath>

#include "imaging/scale_taps.h"

namespace pictavo::imaging {

namespace {

uint8_t toByte(float value) {
    return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

}  // namespace

PieceScaler::Shares PieceScaler::sharesOf(int source, int output) {
    const Taps taps = tapsFor(source, output);
    Shares shares;
    shares.start.assign(static_cast<size_t>(source) + 1, 0);
    for (int i = 0; i < output; ++i) {
        const auto o = static_cast<size_t>(i);
        for (int32_t t = taps.offset[o]; t < taps.offset[o + 1]; ++t)
            ++shares.start[static_cast<size_t>(taps.first[o] + t - taps.offset[o]) + 1];
    }
    for (size_t s = 0; s < static_cast<size_t>(source); ++s) shares.start[s + 1] += shares.start[s];
    shares.output.resize(static_cast<size_t>(shares.start.back()));
    shares.weight.resize(shares.output.size());
    std::vector<int32_t> filled(shares.start.begin(), shares.start.end() - 1);
    for (int i = 0; i < output; ++i) {
        const auto o = static_cast<size_t>(i);
        for (int32_t t = taps.offset[o]; t < taps.offset[o + 1]; ++t) {
            const auto s = static_cast<size_t>(taps.first[o] + t - taps.offset[o]);
            const auto at = static_cast<size_t>(filled[s]++);
            shares.output[at] = i;
            shares.weight[at] =
                static_cast<float>(taps.weights[static_cast<size_t>(t)]) / kWeightOne;
        }
    }
    return shares;
}

PieceScaler::PieceScaler(Orientation orientation, int storedWidth, int storedHeight,
                         int outputWidth, int outputHeight)
    : orientation_(orientation),
      storedWidth_(storedWidth),
      storedHeight_(storedHeight),
      outputWidth_(outputWidth),
      outputHeight_(outputHeight) {
    const bool swap = swapsSides(orientation);
    x_ = sharesOf(swap ? storedHeight : storedWidth, outputWidth);
    y_ = sharesOf(swap ? storedWidth : storedHeight, outputHeight);
    sums_.assign(static_cast<size_t>(outputWidth) * static_cast<size_t>(outputHeight) * 3, 0.0f);
    partial_.assign(static_cast<size_t>(std::max(outputWidth, outputHeight)) * 3, 0.0f);
}

// A piece is one stored row: in the upright picture a row (fixed y) or,
// when the sides swap, a column (fixed x). Its pixels are first summed
// along it into partial_, then added to the output lines across it.
void PieceScaler::addPiece(int storedY, int storedX, std::span<const Pixel> pixels, int step) {
    if (storedY < 0 || storedY >= storedHeight_ || pixels.empty() || step < 1) return;
    const StoredAxes axes = storedAxes(orientation_);
    const Shares& along = axes.swapped ? y_ : x_;
    const Shares& across = axes.swapped ? x_ : y_;
    const int fixed = axes.acrossReversed ? storedHeight_ - 1 - storedY : storedY;
    int low = static_cast<int>(partial_.size());
    int high = -1;
    for (size_t k = 0; k < pixels.size(); ++k) {
        const int64_t x = storedX + static_cast<int64_t>(k) * step;
        if (x < 0 || x >= storedWidth_) continue;
        const auto u = static_cast<size_t>(axes.alongReversed ? storedWidth_ - 1 - x : x);
        const Pixel p = pixels[k];
        const float channels[3] = {static_cast<float>(red(p)), static_cast<float>(green(p)),
                                   static_cast<float>(blue(p))};
        for (int32_t s = along.start[u]; s < along.start[u + 1]; ++s) {
            const int o = along.output[static_cast<size_t>(s)];
            const float w = along.weight[static_cast<size_t>(s)];
            float* to = &partial_[static_cast<size_t>(o) * 3];
            for (int c = 0; c < 3; ++c) to[c] += w * channels[c];
            low = std::min(low, o);
            high = std::max(high, o);
        }
    }
    if (high < low) return;
    const auto u = static_cast<size_t>(fixed);
    for (int32_t s = across.start[u]; s < across.start[u + 1]; ++s)
        addToLine(across.output[static_cast<size_t>(s)], low, high, !axes.swapped,
                  across.weight[static_cast<size_t>(s)]);
    std::fill(partial_.begin() + low * 3, partial_.begin() + (high + 1) * 3, 0.0f);
}

void PieceScaler::addToLine(int line, int first, int last, bool lineIsRow, float weight) {
    for (int o = first; o <= last; ++o) {
        const size_t pixel = lineIsRow ? static_cast<size_t>(line) * outputWidth_ + o
                                       : static_cast<size_t>(o) * outputWidth_ + line;
        const float* from = &partial_[static_cast<size_t>(o) * 3];
        float* to = &sums_[pixel * 3];
        for (int c = 0; c < 3; ++c) to[c] += weight * from[c];
    }
}

Image PieceScaler::finish() {
    Image image(outputWidth_, outputHeight_);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const float* sum = &sums_[i * 3];
        image.pixels[i] = rgb(toByte(sum[0]), toByte(sum[1]), toByte(sum[2]));
    }
    sums_.clear();
    sums_.shrink_to_fit();
    return image;
}

}  // namespace pictavo::imaging
