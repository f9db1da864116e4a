#include "hosts/fltk/monitor_covers.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <array>

#include "hosts/fltk/fltk_cursor.h"
#include "hosts/fltk/native_window.h"
#include "hosts/fltk/x11_display.h"

namespace pictavo::platform::fltk {

namespace {

constexpr long kCoverEvents = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                              PointerMotionMask | EnterWindowMask;

// Told to the window manager before the cover is mapped: where it goes,
// that it is the program's, full screen above the others, never focused
// and kept off task bars.
void describeCover(Display* d, ::Window xid, const MonitorArea& area) {
    markAsProgramsWindow(xid, false);
    XSizeHints* size = XAllocSizeHints();
    size->flags = USPosition | USSize;
    size->x = area.x;
    size->y = area.y;
    size->width = area.width;
    size->height = area.height;
    XSetWMNormalHints(d, xid, size);
    XFree(size);
    std::array<Atom, 4> states{atom("_NET_WM_STATE_FULLSCREEN"), atom("_NET_WM_STATE_ABOVE"),
                               atom("_NET_WM_STATE_SKIP_TASKBAR"),
                               atom("_NET_WM_STATE_SKIP_PAGER")};
    XChangeProperty(d, xid, atom("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(states.data()),
                    static_cast<int>(states.size()));
}

// The slide window's picture counts buttons as Windows does.
int coreButton(unsigned int xButton) {
    switch (xButton) {
        case Button1:
            return 1;
        case Button2:
            return 4;
        case Button3:
            return 2;
        default:
            return 0;
    }
}

}  // namespace

void keepFullScreenOn(XId window, int head) {
    // Top, bottom, left and right edge on the head; asked by an application.
    askWindowManager(window, "_NET_WM_FULLSCREEN_MONITORS", {head, head, head, head, 1});
}

MonitorCovers::MonitorCovers(XId form, const MonitorLayout& monitors, FltkCursor& cursor,
                             PointerListener pointer)
    : form_(form), cursor_(cursor), pointer_(std::move(pointer)) {
    for (size_t head : monitors.otherHeads())
        cover(fl_screen, monitors.heads[head], static_cast<int>(head));
    for (const OtherScreen& screen : otherScreens()) cover(screen.number, screen.area, -1);
    if (!covers_.empty()) Fl::add_system_handler(xEvent, this);
}

// No round trip to the server here: the show may be ending on a signal,
// with a transition's copies still queued before anything would be answered.
MonitorCovers::~MonitorCovers() {
    if (covers_.empty()) return;
    Fl::remove_system_handler(xEvent);
    for (const Cover& cover : covers_) {
        cursor_.untrack(cover.window);
        XDestroyWindow(display(), cover.window);
    }
}

// head: the window manager's number of the monitor on the program's
// screen; -1 for another X screen, covered whole.
void MonitorCovers::cover(int screen, const MonitorArea& area, int head) {
    Display* d = display();
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(d, screen);
    attributes.border_pixel = 0;
    attributes.event_mask = kCoverEvents;
    ::Window xid = XCreateWindow(
        d, RootWindow(d, screen), area.x, area.y, static_cast<unsigned>(std::max(1, area.width)),
        static_cast<unsigned>(std::max(1, area.height)), 0, CopyFromParent, InputOutput,
        CopyFromParent, CWBackPixel | CWBorderPixel | CWEventMask, &attributes);
    describeCover(d, xid, area);
    cursor_.track(xid);
    XMapRaised(d, xid);
    if (head >= 0) keepFullScreenOn(xid, head);
    covers_.push_back({xid, screen});
}

int MonitorCovers::xEvent(void* event, void* self) {
    return static_cast<MonitorCovers*>(self)->handle(event) ? 1 : 0;
}

// May be the last thing this object does: the form may end the show, and
// these covers with it, from inside the listener.
bool MonitorCovers::handle(void* event) {
    auto& x = *static_cast<XEvent*>(event);
    bool ours = std::any_of(covers_.begin(), covers_.end(),
                            [&](const Cover& cover) { return cover.window == x.xany.window; });
    if (!ours) return false;
    switch (x.type) {
        case KeyPress:
        case KeyRelease: {
            // The keyboard is the form's: the key goes there as if typed there.
            XEvent key = x;
            key.xkey.window = form_;
            key.xkey.subwindow = 0;
            XErrorTrap trap;
            XSendEvent(display(), form_, False, NoEventMask, &key);
            return true;
        }
        case MotionNotify:
            pointer_(CoverPointer::Move, x.xmotion.x_root, x.xmotion.y_root, 0);
            return true;
        case EnterNotify:
            // Also when a cover opens under the pointer, as Windows reports it.
            if (x.xcrossing.mode == NotifyNormal)
                pointer_(CoverPointer::Move, x.xcrossing.x_root, x.xcrossing.y_root, 0);
            return true;
        case ButtonPress:
            pressedButton_ = coreButton(x.xbutton.button);
            return true;
        case ButtonRelease:
            if (pressedButton_ != 0 && pressedButton_ == coreButton(x.xbutton.button)) {
                pressedButton_ = 0;
                pointer_(CoverPointer::Click, x.xbutton.x_root, x.xbutton.y_root,
                         coreButton(x.xbutton.button));
            }
            return true;
        default:
            return true;
    }
}

}  // namespace pictavo::platform::fltk
