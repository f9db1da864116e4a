#include "imaging/alpha.h"

#include <algorithm>

namespace pictavo::imaging {

namespace {

uint8_t scaleByAlpha(uint8_t value, uint32_t alpha) {
    return static_cast<uint8_t>((value * alpha + 127) / 255);
}

}  // namespace

void opaqueIfAlphaIsAllZero(Image& image) {
    const bool anyAlpha = std::any_of(image.pixels.begin(), image.pixels.end(),
                                      [](Pixel p) { return (p >> 24) != 0; });
    if (anyAlpha) return;
    for (Pixel& p : image.pixels) p |= 0xFF000000u;
}

void layOnBlack(Image& image) {
    layOnBlack(std::span<Pixel>(image.pixels));
}

void layOnBlack(std::span<Pixel> pixels) {
    for (Pixel& p : pixels) {
        const uint32_t alpha = p >> 24;
        if (alpha == 255) continue;
        p = rgb(scaleByAlpha(red(p), alpha), scaleByAlpha(green(p), alpha),
                scaleByAlpha(blue(p), alpha));
    }
}

}  // namespace pictavo::imaging
