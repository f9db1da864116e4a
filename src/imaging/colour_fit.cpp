#include "imaging/colour_fit.h"

#include <algorithm>
#include <utility>

namespace pictavo::imaging {

namespace {

int bitsFor(int count) {
    int bits = 1;
    while ((1 << bits) < count) ++bits;
    return bits;
}

std::vector<Pixel> fittedPalette(const Image& image, int count, bool keepStandard16) {
    if (!keepStandard16 || count <= 16) return adaptivePalette(image, count);
    const auto standard = standardPalette16();
    std::vector<Pixel> palette(standard.begin(), standard.end());
    for (Pixel p : adaptivePalette(image, count - 16)) {
        if (std::find(palette.begin(), palette.end(), p) == palette.end()) palette.push_back(p);
    }
    return palette;
}

}  // namespace

Palette reductionPalette(const Image& image, int count, bool keepStandard16, bool fitted) {
    Palette palette;
    palette.bits = bitsFor(count);
    if (!fitted && count == 16) {
        const auto standard = standardPalette16();
        palette.colours.assign(standard.begin(), standard.end());
    } else if (!fitted && count == 256) {
        palette.colours = fixedPalette256();
    } else {
        palette.colours = fittedPalette(image, count, keepStandard16);
    }
    return palette;
}

Image reduceColours(Image image, const Palette& palette, Dither dither) {
    mapToPalette(image, palette.colours, dither);
    image.sourceBits = palette.bits;
    return image;
}

}  // namespace pictavo::imaging
