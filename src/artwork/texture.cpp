// A quiet, paper-like grey: value noise in three octaves whose lattices wrap
// around the tile, so that copies laid side by side show no seam.

#include <cmath>
#include <cstdint>

#include "artwork/pictures.h"

namespace pictavo::artwork {

namespace {
constexpr int kSize = 48;
constexpr int kLevels = 24;  // few enough colours for a 256-colour display

uint32_t hash(uint32_t x, uint32_t y, uint32_t octave) {
    uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ octave * 0xCB1AB31Fu;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

double lattice(int x, int y, int cells, uint32_t octave) {
    auto wrap = [cells](int v) { return static_cast<uint32_t>(((v % cells) + cells) % cells); };
    return (hash(wrap(x), wrap(y), octave) & 0xFFFF) / 65535.0;
}

double smooth(double t) {
    return t * t * (3.0 - 2.0 * t);
}

// Noise in [0, 1] with cells of cellSize pixels; cellSize divides kSize.
double valueNoise(int px, int py, int cellSize, uint32_t octave) {
    int cells = kSize / cellSize;
    int cx = px / cellSize, cy = py / cellSize;
    double fx = smooth((px % cellSize + 0.5) / cellSize),
           fy = smooth((py % cellSize + 0.5) / cellSize);
    double top =
        lattice(cx, cy, cells, octave) * (1 - fx) + lattice(cx + 1, cy, cells, octave) * fx;
    double bottom =
        lattice(cx, cy + 1, cells, octave) * (1 - fx) + lattice(cx + 1, cy + 1, cells, octave) * fx;
    return top * (1 - fy) + bottom * fy;
}

uint8_t channel(double base, double spread, double v) {
    return static_cast<uint8_t>(std::lround(base + spread * (v - 0.5)));
}
}  // namespace

imaging::Image drawTexture() {
    imaging::Image image(kSize, kSize);
    image.sourceBits = 8;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            double v = 0.5 * valueNoise(x, y, 12, 1) + 0.3 * valueNoise(x, y, 6, 2) +
                       0.2 * valueNoise(x, y, 3, 3);
            double level = std::round(v * (kLevels - 1)) / (kLevels - 1);
            // Slightly warm, centred on the dialogs' own grey.
            image.at(x, y) = imaging::rgb(channel(194, 26, level), channel(192, 24, level),
                                          channel(186, 22, level));
        }
    return image;
}

}  // namespace pictavo::artwork
