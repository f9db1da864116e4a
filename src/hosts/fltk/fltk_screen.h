#pragma once
// The screen as the core measures it: the primary monitor, whose top left
// corner is the core's origin, as on Windows; the full-screen show covers
// it and the dialogs centre on it. Twips per pixel follow the desktop's
// font scaling (the Xft.dpi resource), 15 at the usual 96 dpi. When the
// saver draws into another program's window, that window is the screen.

#include <cmath>

#include "hosts/fltk/monitors.h"
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
    int widthPixels() const { return area_.width; }
    int heightPixels() const { return area_.height; }
    // Where the core's origin is on the root window (0, 0 inside a window
    // drawn into).
    int originX() const { return area_.x; }
    int originY() const { return area_.y; }
    // The monitors as they were when the program started.
    const MonitorLayout& monitors() const { return monitors_; }
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
    MonitorLayout monitors_;
    MonitorArea area_;
};

}  // namespace pictavo::platform::fltk
