#include "hosts/fltk/fltk_screen.h"

#include <FL/Fl.H>
#include <FL/x.H>

#include <cstdlib>

#include "hosts/fltk/x11_display.h"

namespace pictavo::platform::fltk {

namespace {
constexpr double kStandardDotsPerInch = 96;

double desktopDotsPerInch() {
    const char* setting = XGetDefault(display(), "Xft", "dpi");
    double dpi = setting != nullptr ? std::atof(setting) : 0;
    return dpi >= 48 && dpi <= 480 ? dpi : kStandardDotsPerInch;
}
}  // namespace

FltkScreen::FltkScreen()
    : dotsPerInch_(desktopDotsPerInch()),
      monitors_(readMonitors()),
      area_(monitors_.primaryArea()) {}

int64_t FltkScreen::displayColours() const {
    int depth = fl_visual != nullptr ? fl_visual->depth : DefaultDepth(display(), fl_screen);
    if (depth >= 24) return 16777216;
    return int64_t{1} << depth;
}

void FltkScreen::setSize(int widthPixels, int heightPixels) {
    area_ = {0, 0, widthPixels, heightPixels};
}

}  // namespace pictavo::platform::fltk
