#pragma once
// While a full-screen form shows on the primary monitor, every other
// monitor and every other X screen of the display is covered by a black
// window of the program's class. Input there counts as input on the form:
// keys go to the form's window, as if typed there, and the pointer's moves
// and clicks are reported to the form, which hands them to its picture.
// The covers never take the keyboard, so the form keeps it.

#include <functional>
#include <vector>

#include "hosts/fltk/monitors.h"
#include "hosts/fltk/x11_types.h"

namespace pictavo::platform::fltk {

class FltkCursor;

enum class CoverPointer { Move, Click };

class MonitorCovers {
  public:
    // x and y are the pointer's position on its screen's root window.
    using PointerListener = std::function<void(CoverPointer what, int x, int y, int button)>;

    // Covers what form does not; none when there is nothing else to cover.
    MonitorCovers(XId form, const MonitorLayout& monitors, FltkCursor& cursor,
                  PointerListener pointer);
    ~MonitorCovers();
    MonitorCovers(const MonitorCovers&) = delete;
    MonitorCovers& operator=(const MonitorCovers&) = delete;

    size_t count() const { return covers_.size(); }

  private:
    struct Cover {
        XId window = 0;
        int screen = 0;
    };
    void cover(int screen, const MonitorArea& area, int head);
    static int xEvent(void* event, void* self);
    bool handle(void* event);

    XId form_;
    FltkCursor& cursor_;
    PointerListener pointer_;
    std::vector<Cover> covers_;
    int pressedButton_ = 0;
};

// Asks the window manager to make window full screen on head (EWMH's
// _NET_WM_FULLSCREEN_MONITORS); a window manager without it keeps it on
// the monitor it stands on.
void keepFullScreenOn(XId window, int head);

}  // namespace pictavo::platform::fltk
