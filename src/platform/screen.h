#pragma once
// The screen the saver shows on: its size in twips and twips per pixel.

#include <cstdint>

namespace pictavo::platform {

class Screen {
  public:
    virtual ~Screen() = default;
    virtual double twipsPerPixelX() const = 0;
    virtual double twipsPerPixelY() const = 0;
    virtual double widthTwips() const = 0;
    virtual double heightTwips() const = 0;
    // Colours the display can show (16, 256, 16777216): the target the
    // colour fitting of a new slide compares the picture's colours with.
    virtual int64_t displayColours() const = 0;
};

}  // namespace pictavo::platform
