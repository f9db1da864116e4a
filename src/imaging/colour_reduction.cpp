#include "imaging/colour_reduction.h"

#include <algorithm>
#include <array>

#include "imaging/nearest_colour.h"

namespace pictavo::imaging {

namespace {

constexpr std::array<Pixel, 16> kStandard16 = {
    rgb(0, 0, 0),       rgb(128, 0, 0),   rgb(0, 128, 0),   rgb(128, 128, 0),
    rgb(0, 0, 128),     rgb(128, 0, 128), rgb(0, 128, 128), rgb(192, 192, 192),
    rgb(128, 128, 128), rgb(255, 0, 0),   rgb(0, 255, 0),   rgb(255, 255, 0),
    rgb(0, 0, 255),     rgb(255, 0, 255), rgb(0, 255, 255), rgb(255, 255, 255),
};

uint8_t clampByte(int value) {
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

Pixel withAlphaOf(Pixel colour, Pixel original) {
    return (original & 0xFF000000u) | (colour & 0x00FFFFFFu);
}

void mapNearest(Image& image, std::span<const Pixel> palette, NearestColour& nearest) {
    for (Pixel& p : image.pixels) {
        const Pixel chosen = palette[static_cast<size_t>(nearest.find(red(p), green(p), blue(p)))];
        p = withAlphaOf(chosen, p);
    }
}

// Errors are kept in sixteenths, on two rows with a guard pixel at each end.
void mapFloydSteinberg(Image& image, std::span<const Pixel> palette, NearestColour& nearest) {
    const auto rowLength = static_cast<size_t>(image.width + 2) * 3;
    std::vector<int> current(rowLength, 0);
    std::vector<int> next(rowLength, 0);
    for (int y = 0; y < image.height; ++y) {
        const bool leftToRight = y % 2 == 0;
        const int step = leftToRight ? 1 : -1;
        std::fill(next.begin(), next.end(), 0);
        for (int i = 0; i < image.width; ++i) {
            const int x = leftToRight ? i : image.width - 1 - i;
            Pixel& p = image.at(x, y);
            const size_t here = static_cast<size_t>(x + 1) * 3;
            const int wanted[3] = {clampByte(red(p) + ((current[here] + 8) >> 4)),
                                   clampByte(green(p) + ((current[here + 1] + 8) >> 4)),
                                   clampByte(blue(p) + ((current[here + 2] + 8) >> 4))};
            const Pixel chosen =
                palette[static_cast<size_t>(nearest.find(wanted[0], wanted[1], wanted[2]))];
            const int got[3] = {red(chosen), green(chosen), blue(chosen)};
            const size_t ahead = static_cast<size_t>(x + 1 + step) * 3;
            const size_t behind = static_cast<size_t>(x + 1 - step) * 3;
            for (size_t c = 0; c < 3; ++c) {
                const int error = wanted[c] - got[c];
                current[ahead + c] += error * 7;
                next[behind + c] += error * 3;
                next[here + c] += error * 5;
                next[ahead + c] += error;
            }
            p = withAlphaOf(chosen, p);
        }
        std::swap(current, next);
    }
}

}  // namespace

std::span<const Pixel> standardPalette16() {
    return kStandard16;
}

std::vector<Pixel> fixedPalette256() {
    std::vector<Pixel> palette(kStandard16.begin(), kStandard16.end());
    // A 6 x 6 x 6 cube without its eight corners, which the 16 already hold.
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                const bool corner = (r % 5 == 0) && (g % 5 == 0) && (b % 5 == 0);
                if (corner) continue;
                palette.push_back(rgb(static_cast<uint8_t>(r * 51), static_cast<uint8_t>(g * 51),
                                      static_cast<uint8_t>(b * 51)));
            }
        }
    }
    // 32 greys on odd levels 5, 13 ... 253, which no colour above uses.
    for (int i = 0; i < 32; ++i) {
        const auto level = static_cast<uint8_t>(8 * i + 5);
        palette.push_back(rgb(level, level, level));
    }
    return palette;
}

void mapToPalette(Image& image, std::span<const Pixel> palette, Dither dither) {
    if (palette.empty() || image.empty()) return;
    NearestColour nearest(palette);
    if (dither == Dither::ErrorDiffusion) {
        mapFloydSteinberg(image, palette, nearest);
    } else {
        mapNearest(image, palette, nearest);
    }
}

}  // namespace pictavo::imaging
