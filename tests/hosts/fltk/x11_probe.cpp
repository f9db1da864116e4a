#include "x11_probe.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

namespace pictavo::testing {

namespace {
int ignoreErrors(Display*, XErrorEvent*) {
    return 0;
}
}  // namespace

X11Probe::X11Probe() : display_(XOpenDisplay(nullptr)) {
    XSetErrorHandler(ignoreErrors);
}

X11Probe::~X11Probe() {
    if (display_ != nullptr) XCloseDisplay(display_);
}

XWindowId X11Probe::createWindow(const std::string& title, int x, int y, int width, int height) {
    Window window = XCreateSimpleWindow(display_, DefaultRootWindow(display_), x, y,
                                        static_cast<unsigned>(width), static_cast<unsigned>(height),
                                        0, 0, 0x808080);
    XStoreName(display_, window, title.c_str());
    XMapWindow(display_, window);
    XSync(display_, False);
    return window;
}

void X11Probe::destroyWindow(XWindowId window) {
    XDestroyWindow(display_, window);
    XSync(display_, False);
}

void X11Probe::sendDeleteWindow(XWindowId window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XSync(display_, False);
}

bool X11Probe::exists(XWindowId window) {
    XWindowAttributes attributes;
    return window != 0 && XGetWindowAttributes(display_, window, &attributes) != 0;
}

bool X11Probe::mapped(XWindowId window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display_, window, &attributes) != 0 &&
           attributes.map_state != IsUnmapped;
}

XWindowId X11Probe::parent(XWindowId window) {
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display_, window, &root, &parent, &children, &count) == 0) return 0;
    if (children != nullptr) XFree(children);
    return parent;
}

std::vector<XWindowId> X11Probe::children(XWindowId window) {
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<XWindowId> result;
    if (XQueryTree(display_, window, &root, &parent, &children, &count) == 0) return result;
    if (children != nullptr) {
        result.assign(children, children + count);
        XFree(children);
    }
    return result;
}

int X11Probe::width(XWindowId window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display_, window, &attributes) != 0 ? attributes.width : 0;
}

int X11Probe::height(XWindowId window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display_, window, &attributes) != 0 ? attributes.height : 0;
}

std::string X11Probe::title(XWindowId window) {
    char* name = nullptr;
    std::string result;
    if (XFetchName(display_, window, &name) != 0 && name != nullptr) {
        result = name;
        XFree(name);
    }
    return result;
}

std::vector<std::string> X11Probe::states(XWindowId window) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<std::string> names;
    if (XGetWindowProperty(display_, window, XInternAtom(display_, "_NET_WM_STATE", False), 0, 64,
                           False, XA_ATOM, &type, &format, &count, &after, &data) != Success ||
        data == nullptr)
        return names;
    auto* atoms = reinterpret_cast<Atom*>(data);
    for (unsigned long i = 0; i < count; ++i) {
        char* name = XGetAtomName(display_, atoms[i]);
        if (name != nullptr) {
            names.emplace_back(name);
            XFree(name);
        }
    }
    XFree(data);
    return names;
}

std::vector<long> X11Probe::motifHints(XWindowId window) {
    Atom hints = XInternAtom(display_, "_MOTIF_WM_HINTS", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<long> values;
    if (XGetWindowProperty(display_, window, hints, 0, 5, False, hints, &type, &format, &count,
                           &after, &data) != Success ||
        data == nullptr)
        return values;
    auto* numbers = reinterpret_cast<long*>(data);
    values.assign(numbers, numbers + count);
    XFree(data);
    return values;
}

ScreenPoint X11Probe::onScreen(XWindowId window, int x, int y) {
    int rootX = 0, rootY = 0;
    Window child = 0;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), x, y, &rootX, &rootY,
                          &child);
    return {rootX, rootY};
}

bool X11Probe::pointerVisible() {
    XFixesCursorImage* image = XFixesGetCursorImage(display_);
    if (image == nullptr) return true;
    bool visible = false;
    for (int i = 0; i < image->width * image->height && !visible; ++i)
        visible = (image->pixels[i] >> 24) != 0;
    XFree(image);
    return visible;
}

uint32_t X11Probe::screenPixel(int x, int y) {
    XImage* image =
        XGetImage(display_, DefaultRootWindow(display_), x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return 0xFFFFFFFFu;
    auto pixel = static_cast<uint32_t>(XGetPixel(image, 0, 0) & 0xFFFFFF);
    XDestroyImage(image);
    return pixel;
}

void X11Probe::sync() {
    XSync(display_, False);
}

}  // namespace pictavo::testing
