#pragma once
// What a test needs to see of the X server, and the windows of "another
// program" it makes: a connection of its own, so the host under test meets
// them as strangers. No Xlib in this header: its macros clash with the
// core's names.

#include <cstdint>
#include <string>
#include <vector>

struct _XDisplay;

namespace pictavo::testing {

using XWindowId = unsigned long;

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

class X11Probe {
  public:
    X11Probe();
    ~X11Probe();
    X11Probe(const X11Probe&) = delete;
    X11Probe& operator=(const X11Probe&) = delete;

    // A mapped top-level window of another program, grey, at (x, y).
    XWindowId createWindow(const std::string& title, int x, int y, int width, int height);
    void destroyWindow(XWindowId window);
    // Asks the window to close, as a window manager's close button does.
    void sendDeleteWindow(XWindowId window);

    bool exists(XWindowId window);
    bool mapped(XWindowId window);
    XWindowId parent(XWindowId window);
    std::vector<XWindowId> children(XWindowId window);
    int width(XWindowId window);
    int height(XWindowId window);
    std::string title(XWindowId window);
    // The atoms of the window's _NET_WM_STATE, by name.
    std::vector<std::string> states(XWindowId window);
    // The five numbers of the window's _MOTIF_WM_HINTS (flags, functions,
    // decorations, input mode, status); empty when it has none.
    std::vector<long> motifHints(XWindowId window);
    // Where a point of the window lies on the screen.
    ScreenPoint onScreen(XWindowId window, int x, int y);
    // Whether the pointer shows any pixel now. The server updates the
    // pointer's picture when the pointer moves.
    bool pointerVisible();
    // The colour shown on the screen there, as 0xRRGGBB.
    uint32_t screenPixel(int x, int y);
    // Waits until the server has seen everything sent on this connection.
    void sync();

  private:
    _XDisplay* display_;
};

}  // namespace pictavo::testing
