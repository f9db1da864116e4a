#include "imaging/resample.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "imaging/limits.h"
#include "imaging/scale_taps.h"

namespace pictavo::imaging {

namespace {

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
        filterLine(in + static_cast<size_t>(y) * static_cast<size_t>(source.width) * 4, taps,
                   out + static_cast<size_t>(y) * static_cast<size_t>(width) * 4);
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
            addWeighted(sum.data(), row, taps.weights[t], rowBytes);
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
    try {
        if (acrossFirst(source.width, source.height, across, down))
            return verticalPass(horizontalPass(source, across, width), down, height);
        return horizontalPass(verticalPass(source, down, height), across, width);
    } catch (const std::bad_alloc&) {
        return makeError("not enough memory");
    }
}

}  // namespace pictavo::imaging
