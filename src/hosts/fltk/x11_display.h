#pragma once
// The X11 side of the desktop host: FLTK's display connection, atoms,
// window properties, and a trap for the errors that calls on other
// programs' windows are bound to meet (a window destroyed meanwhile).

#include <X11/Xlib.h>

#include <string>
#include <vector>

namespace pictavo::platform::fltk {

// FLTK's connection, opened on first use.
Display* display();
Window rootWindow();
Atom atom(const char* name);

// Replaces FLTK's error handler, which prints every error, with one that
// records errors for the innermost XErrorTrap and otherwise stays silent:
// a window that vanished under us is expected, not worth a message.
void installQuietErrorHandler();

// Collects the X errors raised while it lives.
class XErrorTrap {
  public:
    XErrorTrap();
    ~XErrorTrap();
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // Waits for the server to answer every request sent so far and tells
    // whether any of them failed.
    bool failed();

  private:
    XErrorTrap* outer_;
    bool failed_ = false;
    friend int recordError(Display*, XErrorEvent*);
};

bool windowExists(Window window);
// _NET_WM_NAME (UTF-8) when set, else WM_NAME; empty when neither.
std::string windowTitle(Window window);
// The window's children, bottom first; none when the window does not exist.
std::vector<Window> childrenOf(Window window);
// The window's parent, or 0 when the window does not exist.
Window parentOf(Window window);

}  // namespace pictavo::platform::fltk
