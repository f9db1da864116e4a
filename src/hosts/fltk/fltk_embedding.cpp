#include "hosts/fltk/fltk_embedding.h"

#include <FL/Fl.H>
#include <X11/Xatom.h>

#include <cstdlib>
#include <vector>

#include "hosts/fltk/fltk_event_loop.h"
#include "hosts/fltk/x11_display.h"

namespace pictavo::platform::fltk {

namespace {

constexpr double kPollSeconds = 0.5;

::Window virtualRoot() {
    XErrorTrap trap;
    ::Window found = 0;
    Atom vroot = atom("__SWM_VROOT");
    for (::Window child : childrenOf(rootWindow())) {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display(), child, vroot, 0, 1, False, XA_WINDOW, &type, &format,
                               &items, &after, &data) == Success &&
            data != nullptr && items == 1)
            found = *reinterpret_cast<::Window*>(data);
        if (data != nullptr) XFree(data);
        if (found != 0) break;
    }
    return trap.failed() ? 0 : found;
}

}  // namespace

XId rootDrawingWindow() {
    if (const char* named = std::getenv("XSCREENSAVER_WINDOW");
        named != nullptr && named[0] != '\0') {
        auto window = static_cast<::Window>(std::strtoul(named, nullptr, 0));
        if (windowExists(window)) return window;
    }
    if (::Window found = virtualRoot(); found != 0 && windowExists(found)) return found;
    return rootWindow();
}

EmbedWatch::EmbedWatch(XId target, FltkEventLoop& loop, SizeListener resized)
    : target_(target), loop_(loop), resized_(std::move(resized)) {
    {
        XErrorTrap trap;
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display(), target_, &attributes) != 0) {
            XSelectInput(display(), target_, attributes.your_event_mask | StructureNotifyMask);
            width_ = attributes.width;
            height_ = attributes.height;
        }
    }
    Fl::add_system_handler(xEvent, this);
    Fl::add_timeout(kPollSeconds, poll, this);
}

EmbedWatch::~EmbedWatch() {
    Fl::remove_system_handler(xEvent);
    Fl::remove_timeout(poll, this);
    Fl::remove_timeout(reportSize, this);
}

int EmbedWatch::xEvent(void* event, void* self) {
    const XEvent& x = *static_cast<const XEvent*>(event);
    auto* watch = static_cast<EmbedWatch*>(self);
    if (x.type == DestroyNotify && x.xdestroywindow.window == watch->target_)
        watch->loop_.requestEnd();
    if (x.type == ConfigureNotify && x.xconfigure.window == watch->target_)
        watch->sizeSeen(x.xconfigure.width, x.xconfigure.height);
    return 0;
}

void EmbedWatch::sizeSeen(int width, int height) {
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    if (resized_) Fl::add_timeout(0, reportSize, this);
}

void EmbedWatch::reportSize(void* self) {
    auto* watch = static_cast<EmbedWatch*>(self);
    Fl::remove_timeout(reportSize, self);
    watch->resized_(watch->width_, watch->height_);
}

void EmbedWatch::poll(void* self) {
    auto* watch = static_cast<EmbedWatch*>(self);
    XWindowAttributes attributes;
    bool exists = false;
    {
        XErrorTrap trap;
        exists =
            XGetWindowAttributes(display(), watch->target_, &attributes) != 0 && !trap.failed();
    }
    if (!exists) {
        watch->loop_.requestEnd();
        return;
    }
    // A size change whose event went elsewhere is still seen.
    watch->sizeSeen(attributes.width, attributes.height);
    Fl::repeat_timeout(kPollSeconds, poll, self);
}

}  // namespace pictavo::platform::fltk
