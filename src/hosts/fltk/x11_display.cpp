#include "hosts/fltk/x11_display.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace pictavo::platform::fltk {

namespace {
// The error handler is a plain function: it finds the innermost trap here.
XErrorTrap* innermostTrap = nullptr;
}  // namespace

int recordError(Display*, XErrorEvent*) {
    if (innermostTrap != nullptr) innermostTrap->failed_ = true;
    return 0;
}

Display* display() {
    fl_open_display();
    return fl_display;
}

Window rootWindow() {
    return RootWindow(display(), fl_screen);
}

Atom atom(const char* name) {
    return XInternAtom(display(), name, False);
}

void installQuietErrorHandler() {
    display();
    XSetErrorHandler(recordError);
}

XErrorTrap::XErrorTrap() : outer_(innermostTrap) {
    XSync(display(), False);  // errors of earlier requests are not ours
    innermostTrap = this;
}

XErrorTrap::~XErrorTrap() {
    XSync(display(), False);
    innermostTrap = outer_;
}

bool XErrorTrap::failed() {
    XSync(display(), False);
    return failed_;
}

bool windowExists(Window window) {
    if (window == 0) return false;
    XErrorTrap trap;
    XWindowAttributes attributes;
    Status status = XGetWindowAttributes(display(), window, &attributes);
    return status != 0 && !trap.failed();
}

std::string windowTitle(Window window) {
    XErrorTrap trap;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display(), window, atom("_NET_WM_NAME"), 0, 1024, False,
                           atom("UTF8_STRING"), &type, &format, &count, &after, &data) == Success &&
        data != nullptr && format == 8) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
        return title;
    }
    if (data != nullptr) XFree(data);
    XTextProperty text{};
    if (XGetWMName(display(), window, &text) != 0 && text.value != nullptr) {
        if (text.format == 8) title.assign(reinterpret_cast<char*>(text.value), text.nitems);
        XFree(text.value);
    }
    return title;
}

std::vector<Window> childrenOf(Window window) {
    XErrorTrap trap;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<Window> result;
    if (XQueryTree(display(), window, &root, &parent, &children, &count) != 0 &&
        children != nullptr)
        result.assign(children, children + count);
    if (children != nullptr) XFree(children);
    if (trap.failed()) result.clear();
    return result;
}

Window parentOf(Window window) {
    XErrorTrap trap;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    Status status = XQueryTree(display(), window, &root, &parent, &children, &count);
    if (children != nullptr) XFree(children);
    return status != 0 && !trap.failed() ? parent : 0;
}

}  // namespace pictavo::platform::fltk
