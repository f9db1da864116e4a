#pragma once
// Tests of the desktop host run on a display of their own: an Xvfb server
// started for the test program on a free display number (the server picks
// it) and stopped when the program ends.

#include <sys/types.h>

#include <functional>
#include <string>

namespace pictavo::testing {

class XvfbDisplay {
  public:
    // Starts Xvfb 1024x768x24 and points DISPLAY at it.
    XvfbDisplay();
    ~XvfbDisplay();
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    bool running() const { return pid_ > 0; }
    const std::string& name() const { return name_; }

  private:
    pid_t pid_ = -1;
    std::string name_;
};

// Runs xdotool with these arguments on the test's display; true on success.
bool xdotool(const std::string& arguments);

// Lets FLTK handle events until done() is true or the time is up; true when done.
bool pumpUntil(const std::function<bool()>& done, double seconds = 3.0);
// Lets FLTK handle events for this long.
void pumpFor(double seconds);

}  // namespace pictavo::testing
