#pragma once
// A few drawing operations for the pictures the program draws itself.

#include <cstdint>

#include "imaging/image.h"

namespace pictavo::artwork {

// The standard 16-colour palette, in its usual order.
enum class Vga : uint8_t {
    Black,
    Blue,
    Green,
    Cyan,
    Red,
    Magenta,
    Brown,
    LightGrey,
    Grey,
    LightBlue,
    LightGreen,
    LightCyan,
    LightRed,
    LightMagenta,
    Yellow,
    White,
};
imaging::Pixel vga(Vga colour);

// Transparent pixels keep light grey underneath for hosts that ignore alpha.
inline constexpr imaging::Pixel kTransparent = 0x00C0C0C0u;

class PixelPainter {
  public:
    PixelPainter(int width, int height, imaging::Pixel background);

    void plot(int x, int y, imaging::Pixel colour);
    // Inclusive corners.
    void fillRect(int left, int top, int right, int bottom, imaging::Pixel colour);
    // A one-pixel raised frame: light on the top and left, dark on the bottom and right.
    void bevel(int left, int top, int right, int bottom, imaging::Pixel light, imaging::Pixel dark);
    // Every pixel whose centre lies within radius of (cx, cy).
    void disc(double cx, double cy, double radius, imaging::Pixel colour);

    imaging::Image take() { return std::move(image_); }
    const imaging::Image& image() const { return image_; }

  private:
    imaging::Image image_;
};

}  // namespace pictavo::artwork
