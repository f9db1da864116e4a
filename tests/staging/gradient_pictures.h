#pragma once
// Big pictures of smooth colour, written at test time a row at a time (so
// that nothing large is kept or committed), and what any part of them
// looks like at any scale, worked out from the formula rather than from a
// decoder.

#include <cstdint>
#include <filesystem>

namespace pictavo::staging {

struct Colour {
    double red = 0;
    double green = 0;
    double blue = 0;
};

// The picture's colour at (x, y) of a width x height picture: slow waves,
// so that averaging a few pixels changes nothing but rounding.
Colour gradientAt(double x, double y, int width, int height);

// The average over the source rectangle [left, right) x [top, bottom).
Colour gradientOver(double left, double top, double right, double bottom, int width, int height);

void writeGradientJpeg(const std::filesystem::path& path, int width, int height);
// 8-bit RGB, Adam7-interlaced when interlaced is set.
void writeGradientPng(const std::filesystem::path& path, int width, int height, bool interlaced);

}  // namespace pictavo::staging
