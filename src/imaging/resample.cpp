#include "imaging/resample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "imaging/limits.h"

namespace pictavo::imaging {

namespace {

constexpr int kWeightBits = 14;
constexpr int32_t kWeightOne = 1 << kWeightBits;

// For each output position along one axis: the first source position it
// reads and the fixed-point weights of consecutive source positions, which
// add up to exactly kWeightOne (so a flat colour stays exactly flat).
struct Taps {
    std::vector<int32_t> first;
    std::vector<int32_t> offset;  // into weights; offset[i + 1] - offset[i] taps
    std::vector<int32_t> weights;

    int64_t total() const { return static_cast<int64_t>(weights.size()); }
};

// Rounds the running total rather than each weight, so the fixed-point
// weights add up exactly and none strays more than one step from its share.
void addOutput(Taps& taps, int first, const std::vector<double>& weights) {
    double total = 0;
    for (double w : weights) total += w;
    double running = 0;
    int32_t previous = 0;
    for (double w : weights) {
        running += w;
        const auto upTo = static_cast<int32_t>(std::lround(running / total * kWeightOne));
        taps.weights.push_back(upTo - previous);
        previous = upTo;
    }
    taps.first.push_back(first);
    taps.offset.push_back(static_cast<int32_t>(taps.weights.size()));
}

// Shrinking: output i covers source span [i * scale, (i + 1) * scale).
Taps areaTaps(int source, int output) {
    Taps taps;
    taps.offset.push_back(0);
    const double scale = static_cast<double>(source) / output;
    for (int i = 0; i < output; ++i) {
        const double start = i * scale;
        const double end = std::min((i + 1) * scale, static_cast<double>(source));
        const int first = static_cast<int>(std::floor(start));
        const int last = std::min(static_cast<int>(std::ceil(end)), source) - 1;
        std::vector<double> weights;
        for (int s = first; s <= last; ++s) {
            const double covered = std::min(end, s + 1.0) - std::max(start, static_cast<double>(s));
            weights.push_back(std::max(covered, 0.0) / scale);
        }
        addOutput(taps, first, weights);
    }
    return taps;
}

// Growing (or keeping the size): output centres mapped onto source centres.
Taps bilinearTaps(int source, int output) {
    Taps taps;
    taps.offset.push_back(0);
    const double scale = static_cast<double>(source) / output;
    for (int i = 0; i < output; ++i) {
        const double position = std::clamp((i + 0.5) * scale - 0.5, 0.0, source - 1.0);
        const int first = std::min(static_cast<int>(std::floor(position)), source - 1);
        const double fraction = position - first;
        if (first + 1 < source && fraction > 0) {
            addOutput(taps, first, {1.0 - fraction, fraction});
        } else {
            addOutput(taps, first, {1.0});
        }
    }
    return taps;
}

Taps tapsFor(int source, int output) {
    return output < source ? areaTaps(source, output) : bilinearTaps(source, output);
}

uint8_t normalise(int32_t sum) {
    return static_cast<uint8_t>(std::clamp((sum + kWeightOne / 2) >> kWeightBits, 0, 255));
}

// The hot loop of the vertical pass. The sums never alias the bytes; saying
// so lets the compiler vectorise it.
void addWeighted(int32_t* __restrict sum, const uint8_t* __restrict row, int32_t weight,
                 size_t count) {
    for (size_t i = 0; i < count; ++i) sum[i] += weight * row[i];
}

// Pixels are filtered as four independent bytes; the channel order does not matter.
const uint8_t* bytesOf(const Image& image) {
    return reinterpret_cast<const uint8_t*>(image.pixels.data());
}
uint8_t* bytesOf(Image& image) {
    return reinterpret_cast<uint8_t*>(image.pixels.data());
}

Image horizontalPass(const Image& source, const Taps& taps, int width) {
    Image result(width, source.height);
    const uint8_t* in = bytesOf(source);
    uint8_t* out = bytesOf(result);
    for (int y = 0; y < source.height; ++y) {
        const uint8_t* row = in + static_cast<size_t>(y) * static_cast<size_t>(source.width) * 4;
        uint8_t* target = out + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
        for (int x = 0; x < width; ++x) {
            int32_t sum[4] = {0, 0, 0, 0};
            const uint8_t* from = row + static_cast<size_t>(taps.first[static_cast<size_t>(x)]) * 4;
            const auto begin = static_cast<size_t>(taps.offset[static_cast<size_t>(x)]);
            const auto end = static_cast<size_t>(taps.offset[static_cast<size_t>(x) + 1]);
            for (size_t t = begin; t < end; ++t, from += 4) {
                const int32_t w = taps.weights[t];
                for (int c = 0; c < 4; ++c) sum[c] += w * from[c];
            }
            for (int c = 0; c < 4; ++c) target[x * 4 + c] = normalise(sum[c]);
        }
    }
    return result;
}

Image verticalPass(const Image& source, const Taps& taps, int height) {
    Image result(source.width, height);
    const size_t rowBytes = static_cast<size_t>(source.width) * 4;
    const uint8_t* in = bytesOf(source);
    uint8_t* out = bytesOf(result);
    std::vector<int32_t> sum(rowBytes);
    for (int y = 0; y < height; ++y) {
        std::fill(sum.begin(), sum.end(), 0);
        const auto begin = static_cast<size_t>(taps.offset[static_cast<size_t>(y)]);
        const auto end = static_cast<size_t>(taps.offset[static_cast<size_t>(y) + 1]);
        const uint8_t* row =
            in + static_cast<size_t>(taps.first[static_cast<size_t>(y)]) * rowBytes;
        for (size_t t = begin; t < end; ++t, row += rowBytes) {
            const int32_t w = taps.weights[t];
            addWeighted(sum.data(), row, w, rowBytes);
        }
        uint8_t* target = out + static_cast<size_t>(y) * rowBytes;
        for (size_t i = 0; i < rowBytes; ++i) target[i] = normalise(sum[i]);
    }
    return result;
}

}  // namespace

Result<Image> resample(const Image& source, int width, int height) {
    if (auto fits = checkPictureSize(width, height); !fits) return fits.error();
    if (source.empty()) return makeError("no picture to resample");
    if (width == source.width && height == source.height) return source;

    const Taps across = tapsFor(source.width, width);
    const Taps down = tapsFor(source.height, height);
    // Whichever order touches fewer source bytes: shrink the larger way first.
    const int64_t acrossFirst =
        int64_t{source.height} * across.total() + int64_t{width} * down.total();
    const int64_t downFirst =
        int64_t{source.width} * down.total() + int64_t{height} * across.total();
    try {
        if (acrossFirst <= downFirst)
            return verticalPass(horizontalPass(source, across, width), down, height);
        return horizontalPass(verticalPass(source, down, height), across, width);
    } catch (const std::bad_alloc&) {
        return makeError("not enough memory");
    }
}

}  // namespace pictavo::imaging
