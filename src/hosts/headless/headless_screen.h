#pragma once

#include "platform/screen.h"

namespace pictavo::platform::headless {

class HeadlessScreen : public Screen {
  public:
    double twipsPerPixelX() const override { return twipsPerPixelX_; }
    double twipsPerPixelY() const override { return twipsPerPixelY_; }
    double widthTwips() const override { return widthPixels_ * twipsPerPixelX_; }
    double heightTwips() const override { return heightPixels_ * twipsPerPixelY_; }
    int64_t displayColours() const override { return colours_; }

    void setPixels(int width, int height) {
        widthPixels_ = width;
        heightPixels_ = height;
    }
    void setTwipsPerPixel(double x, double y) {
        twipsPerPixelX_ = x;
        twipsPerPixelY_ = y;
    }
    void setDisplayColours(int64_t colours) { colours_ = colours; }

  private:
    double twipsPerPixelX_ = 15;
    double twipsPerPixelY_ = 15;
    double widthPixels_ = 640;
    double heightPixels_ = 480;
    int64_t colours_ = 16777216;
};

}  // namespace pictavo::platform::headless
