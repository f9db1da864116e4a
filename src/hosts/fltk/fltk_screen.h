#pragma once
// The X screen as the core measures it. Twips per pixel follow the
// desktop's font scaling (the Xft.dpi resource), 15 at the usual 96 dpi.
// When the saver draws into another program's window, that window is the
// screen.

#include <cmath>

#include "platform/screen.h"

namespace pictavo::platform::fltk {

class FltkScreen : public Screen {
  public:
    FltkScreen();

    double twipsPerPixelX() const override { return kTwipsPerInch / dotsPerInch_; }
    double twipsPerPixelY() const override { return kTwipsPerInch / dotsPerInch_; }
    double widthTwips() const override { return widthPixels() * twipsPerPixelX(); }
    double heightTwips() const override { return heightPixels() * twipsPerPixelY(); }
    int64_t displayColours() const override;

    double dotsPerInch() const { return dotsPerInch_; }
    int widthPixels() const;
    int heightPixels() const;
    // The window the saver draws into stands for the screen.
    void setSize(int widthPixels, int heightPixels);

    int toPixelsX(double twips) const {
        return static_cast<int>(std::lround(twips / twipsPerPixelX()));
    }
    int toPixelsY(double twips) const {
        return static_cast<int>(std::lround(twips / twipsPerPixelY()));
    }
    int toTwipsX(int pixels) const {
        return static_cast<int>(std::lround(pixels * twipsPerPixelX()));
    }
    int toTwipsY(int pixels) const {
        return static_cast<int>(std::lround(pixels * twipsPerPixelY()));
    }

  private:
    static constexpr double kTwipsPerInch = 1440;
    double dotsPerInch_ = 96;
    int width_ = 0;  // 0: the whole X screen
    int height_ = 0;
};

}  // namespace pictavo::platform::fltk
