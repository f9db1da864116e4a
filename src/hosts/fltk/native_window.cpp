// FLTK keeps the record tying an X window to its Fl_Window (Fl_X) behind
// FL_INTERNALS; creating that record ourselves is its documented way of
// letting a program make the X window.
#define FL_INTERNALS 1

#include "hosts/fltk/native_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <algorithm>

#include "hosts/fltk/x11_display.h"

namespace pictavo::platform::fltk {

namespace {

// What FLTK asks of a top-level window, so its own event handling works.
constexpr long kInputEvents = ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask |
                              KeymapStateMask | FocusChangeMask | ButtonPressMask |
                              ButtonReleaseMask | EnterWindowMask | LeaveWindowMask |
                              PropertyChangeMask | PointerMotionMask;
constexpr long kOutputEvents = ExposureMask | StructureNotifyMask;

void describeToWindowManager(Display* d, Window xid, const NativeWindowOptions& options) {
    XSetWMProperties(d, xid, nullptr, nullptr, nullptr, 0, nullptr, nullptr, nullptr);
    markAsProgramsWindow(xid, true);
    Atom deleteWindow = atom("WM_DELETE_WINDOW");
    XChangeProperty(d, xid, atom("WM_PROTOCOLS"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&deleteWindow), 1);
    if (options.transientFor != 0) XSetTransientForHint(d, xid, options.transientFor);
}

// A frame with a title but without the window menu and the close, minimise
// and maximise buttons; the window can only be moved. The functions and
// decorations allowed are listed rather than those taken away: window
// managers differ on the "all but" form.
void withoutControlBox(Display* d, Window xid) {
    constexpr long kFunctionsAndDecorations = 1 | 2;
    constexpr long kMove = 4;
    constexpr long kBorder = 2, kTitle = 8;
    long hints[5] = {kFunctionsAndDecorations, kMove, kBorder | kTitle, 0, 0};
    Atom motif = atom("_MOTIF_WM_HINTS");
    XChangeProperty(d, xid, motif, motif, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(hints), 5);
}

// A window manager places a new window by its own rules unless the window
// says where it wants to be; the client area then stays where the program
// put it (centred, mostly) and the frame goes around it.
void keepPlace(Display* d, Window xid, const Fl_Window& window) {
    XErrorTrap trap;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(d, xid, &attributes) == 0 || attributes.override_redirect) return;
    if (parentOf(xid) != rootWindow()) return;
    XSizeHints* hints = XAllocSizeHints();
    long supplied = 0;
    if (XGetWMNormalHints(d, xid, hints, &supplied) == 0) hints->flags = 0;
    hints->flags |= USPosition | PPosition | PWinGravity;
    hints->x = window.x();
    hints->y = window.y();
    hints->win_gravity = StaticGravity;
    XSetWMNormalHints(d, xid, hints);
    XFree(hints);
}

}  // namespace

void markAsProgramsWindow(XId window, bool takesFocus) {
    Display* d = display();
    long pid = getpid();
    XChangeProperty(d, window, atom("_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&pid), 1);
    XClassHint classHint{const_cast<char*>("pictavo"), const_cast<char*>("Pictavo")};
    XSetClassHint(d, window, &classHint);
    XWMHints* hints = XAllocWMHints();
    hints->flags = InputHint;
    hints->input = takesFocus ? True : False;
    XSetWMHints(d, window, hints);
    XFree(hints);
}

void realise(Fl_Window& window, const NativeWindowOptions& options) {
    if (Fl_X::i(&window) != nullptr) return;
    Display* d = display();
    XSetWindowAttributes attributes{};
    unsigned long mask = CWBorderPixel | CWColormap | CWEventMask | CWBitGravity;
    attributes.event_mask = options.input ? kInputEvents : kOutputEvents;
    attributes.colormap = fl_colormap;
    attributes.border_pixel = 0;
    attributes.bit_gravity = ForgetGravity;
    if (options.overrideRedirect) {
        attributes.override_redirect = True;
        mask |= CWOverrideRedirect;
    }
    Window parent = options.parent != 0 ? options.parent : rootWindow();
    Window xid = XCreateWindow(d, parent, window.x(), window.y(),
                               static_cast<unsigned>(std::max(1, window.w())),
                               static_cast<unsigned>(std::max(1, window.h())), 0, fl_visual->depth,
                               InputOutput, fl_visual->visual, mask, &attributes);
    Fl_X* record = Fl_X::set_xid(&window, xid);
    // Fl_Window::label writes WM_NAME and _NET_WM_NAME once the window exists.
    window.label(window.label(), window.iconlabel());
    if (parent == rootWindow() && !options.overrideRedirect) {
        describeToWindowManager(d, xid, options);
        record->sendxjunk();  // size limits and, for borderless windows, no decoration
        if (options.border && !options.closeBox) withoutControlBox(d, xid);
    }
    // Other programs may look for it by title at once.
    XFlush(d);
}

XId nativeHandle(const Fl_Window& window) {
    Fl_X* record = Fl_X::i(&window);
    return record != nullptr ? record->xid : 0;
}

void mapRealised(Fl_Window& window) {
    if (Fl_X::i(&window) == nullptr) return;
    if (!window.visible()) keepPlace(display(), nativeHandle(window), window);
    // Fl_Window::show() on a window that has its X window maps it raised; the
    // MapNotify that follows makes FLTK mark it visible and show subwindows.
    window.show();
}

void unmapRealised(Fl_Window& window) {
    Window xid = nativeHandle(window);
    if (xid != 0) XUnmapWindow(display(), xid);
}

bool isMapped(const Fl_Window& window) {
    Window xid = nativeHandle(window);
    if (xid == 0) return false;
    XErrorTrap trap;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display(), xid, &attributes) == 0 || trap.failed()) return false;
    return attributes.map_state != IsUnmapped;
}

void addWindowState(XId window, const char* state) {
    Display* d = display();
    XErrorTrap trap;
    Atom value = atom(state);
    XChangeProperty(d, window, atom("_NET_WM_STATE"), XA_ATOM, 32, PropModeAppend,
                    reinterpret_cast<unsigned char*>(&value), 1);
    // A mapped window's state belongs to the window manager: ask it (to add
    // the state, as an application).
    askWindowManager(window, "_NET_WM_STATE", {1, static_cast<long>(value), 0, 1, 0});
}

void askWindowManager(XId window, const char* message, const std::array<long, 5>& data) {
    if (!windowManagerRunning()) return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = atom(message);
    event.xclient.format = 32;
    for (size_t i = 0; i < data.size(); ++i) event.xclient.data.l[i] = data[i];
    XErrorTrap trap;
    XSendEvent(display(), rootWindow(), False, SubstructureNotifyMask | SubstructureRedirectMask,
               &event);
}

void raiseAndFocus(XId window) {
    if (window == 0) return;
    {
        XErrorTrap trap;
        XRaiseWindow(display(), window);
    }
    focusWindow(window);
}

void focusWindow(XId window) {
    if (window == 0) return;
    XErrorTrap trap;
    if (windowManagerRunning()) {
        Fl_X::activate_window(window);
        return;
    }
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display(), window, &attributes) != 0 &&
        attributes.map_state == IsViewable)
        XSetInputFocus(display(), window, RevertToPointerRoot, CurrentTime);
}

XId focusedWindow() {
    ::Window focus = 0;
    int revert = 0;
    XGetInputFocus(display(), &focus, &revert);
    return focus == PointerRoot ? 0 : focus;
}

bool windowManagerRunning() {
    return Fl_X::ewmh_supported() != 0;
}

bool forgetDestroyedWindow(XId window) {
    Fl_Window* own = fl_find(window);
    if (own == nullptr) return false;
    Fl_Widget_Tracker tracker(own);
    Fl::handle(FL_CLOSE, own);
    if (tracker.exists() && fl_find(window) == own) own->hide();
    return true;
}

}  // namespace pictavo::platform::fltk
