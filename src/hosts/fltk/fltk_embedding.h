#pragma once
// The saver drawing into a window it was given, as the hosts of Linux
// screen savers start it ("-window-id ID", "-root"): the host owns input and
// locking, and the saver goes when that window goes.

#include <functional>

#include "hosts/fltk/x11_types.h"

namespace pictavo::platform::fltk {

class FltkEventLoop;

// The window "-root" draws on: the screen-saver host's own window when it
// names one ($XSCREENSAVER_WINDOW), a virtual root window (__SWM_VROOT) when
// the desktop has one, else the root window.
XId rootDrawingWindow();

// Ends the loop when the window is destroyed: at once when X reports it,
// and at the latest at the next poll. Reports each new size of the window
// the same way, from the loop rather than from inside X's event.
class EmbedWatch {
  public:
    using SizeListener = std::function<void(int width, int height)>;
    EmbedWatch(XId target, FltkEventLoop& loop, SizeListener resized = nullptr);
    ~EmbedWatch();
    EmbedWatch(const EmbedWatch&) = delete;
    EmbedWatch& operator=(const EmbedWatch&) = delete;

  private:
    static int xEvent(void* event, void* self);
    static void poll(void* self);
    static void reportSize(void* self);
    void sizeSeen(int width, int height);

    XId target_;
    FltkEventLoop& loop_;
    SizeListener resized_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace pictavo::platform::fltk
