#pragma once
// A decoded picture: 32-bit pixels 0xAARRGGBB, rows top to bottom.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pictavo::imaging {

using Pixel = uint32_t;

constexpr Pixel rgb(uint8_t r, uint8_t g, uint8_t b) {
    return 0xFF000000u | (uint32_t{r} << 16) | (uint32_t{g} << 8) | uint32_t{b};
}
constexpr uint8_t red(Pixel p) {
    return static_cast<uint8_t>(p >> 16);
}
constexpr uint8_t green(Pixel p) {
    return static_cast<uint8_t>(p >> 8);
}
constexpr uint8_t blue(Pixel p) {
    return static_cast<uint8_t>(p);
}

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;  // width * height, row-major
    // Bits per pixel of the picture as its file stored it (1, 4, 8, 24...):
    // colourCount (imaging/picture_decoding.h) is 2 to this power.
    int sourceBits = 24;
    // A decoder asked for a target (imaging/target.h) may deliver less than
    // the whole picture: the picture scaled (to the target, or to a cheap
    // scale at or above it; origin 0) or only the window a centred picture
    // shows (at its own scale). Then
    // fullWidth x fullHeight is the size of the whole upright picture and
    // originX, originY is where the top-left decoded pixel lies in it.
    // 0 for fullWidth/fullHeight means the pixels are the whole picture.
    int fullWidth = 0;
    int fullHeight = 0;
    int originX = 0;
    int originY = 0;

    Image() = default;
    Image(int w, int h, Pixel fill = rgb(0, 0, 0))
        : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h), fill) {}

    bool empty() const { return width <= 0 || height <= 0; }
    // Size of the whole picture, whatever part of it the pixels hold.
    int pictureWidth() const { return fullWidth > 0 ? fullWidth : width; }
    int pictureHeight() const { return fullHeight > 0 ? fullHeight : height; }
    Pixel& at(int x, int y) {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
    Pixel at(int x, int y) const {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
};

}  // namespace pictavo::imaging
