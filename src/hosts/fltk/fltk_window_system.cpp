#include "hosts/fltk/fltk_window_system.h"

#include <FL/Fl.H>
#include <FL/x.H>

#include <algorithm>

#include "hosts/fltk/native_window.h"
#include "hosts/fltk/x11_display.h"

namespace pictavo::platform::fltk {

namespace {

bool hasTitle(::Window window, const std::string& title) {
    return windowTitle(window) == title;
}

::Window toX(WindowHandle handle) {
    return static_cast<::Window>(handle);
}

}  // namespace

struct FltkWindowSystem::Hook : MessageHookHandle {
    Hook(FltkWindowSystem& owner, ::Window w, std::function<void(uint32_t)> r)
        : system(owner), window(w), report(std::move(r)) {
        system.hooks_.push_back(this);
    }
    ~Hook() override { std::erase(system.hooks_, this); }
    FltkWindowSystem& system;
    ::Window window;
    std::function<void(uint32_t)> report;
    bool destroyed = false;
};

FltkWindowSystem::FltkWindowSystem() {
    Fl::add_system_handler(xEvent, this);
}

FltkWindowSystem::~FltkWindowSystem() {
    Fl::remove_system_handler(xEvent);
}

WindowHandle FltkWindowSystem::findWindowByTitle(const std::string& title) {
    for (::Window top : childrenOf(rootWindow())) {
        if (hasTitle(top, title)) return static_cast<WindowHandle>(top);
        // A window manager's frame holds the program's window one level down.
        if (!windowTitle(top).empty()) continue;
        for (::Window client : childrenOf(top))
            if (hasTitle(client, title)) return static_cast<WindowHandle>(client);
    }
    return 0;
}

void FltkWindowSystem::setTopmost(WindowHandle window) {
    // Only top-level windows have a stacking among the desktop's windows.
    if (window == 0 || parentOf(toX(window)) != rootWindow()) return;
    addWindowState(toX(window), "_NET_WM_STATE_ABOVE");
    if (!windowManagerRunning()) {
        XErrorTrap trap;
        XRaiseWindow(display(), toX(window));
    }
}

WindowHandle FltkWindowSystem::setParent(WindowHandle child, WindowHandle parent) {
    ::Window previous = parentOf(toX(child));
    if (previous == 0) return 0;
    ::Window target = parent != 0 ? toX(parent) : rootWindow();
    XErrorTrap trap;
    XReparentWindow(display(), toX(child), target, 0, 0);
    if (trap.failed()) return 0;
    if (fl_find(toX(child)) != nullptr && fl_find(target) == nullptr)
        lent_.insert(toX(child));
    else
        lent_.erase(toX(child));
    return static_cast<WindowHandle>(previous);
}

bool FltkWindowSystem::isWindow(WindowHandle window) {
    return windowExists(toX(window));
}

ClientRect FltkWindowSystem::clientRect(WindowHandle window) {
    if (window == 0) return {};
    XErrorTrap trap;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display(), toX(window), &attributes) == 0 || trap.failed()) return {};
    return {0, 0, attributes.width, attributes.height};
}

std::unique_ptr<MessageHookHandle> FltkWindowSystem::hookMessage(
    WindowHandle window, uint32_t message, std::function<void(uint32_t)> report) {
    if (message != kWmClose) return std::make_unique<MessageHookHandle>();
    ::Window xid = toX(window);
    {
        // Added to whatever the window's events are already asked for.
        XErrorTrap trap;
        XWindowAttributes attributes;
        if (xid != 0 && XGetWindowAttributes(display(), xid, &attributes) != 0)
            XSelectInput(display(), xid, attributes.your_event_mask | StructureNotifyMask);
    }
    return std::make_unique<Hook>(*this, xid, std::move(report));
}

int FltkWindowSystem::xEvent(void* event, void* self) {
    const XEvent& x = *static_cast<const XEvent*>(event);
    auto* system = static_cast<FltkWindowSystem*>(self);
    // X unmaps a mapped window to reparent it and maps it again after. FLTK
    // takes each for a change of the window's state and answers it with the
    // opposite request, which X reports in turn: the lent window would
    // flicker between mapped and unmapped for as long as it lives.
    if (x.type == MapNotify && system->lent_.contains(x.xmap.window)) return 1;
    if (x.type == UnmapNotify && system->lent_.contains(x.xunmap.window)) return 1;
    if (x.type == DestroyNotify) {
        system->lent_.erase(x.xdestroywindow.window);
        system->closing(x.xdestroywindow.window, true);
        return forgetDestroyedWindow(x.xdestroywindow.window) ? 1 : 0;
    }
    if (x.type == ClientMessage && x.xclient.message_type == atom("WM_PROTOCOLS") &&
        static_cast<Atom>(x.xclient.data.l[0]) == atom("WM_DELETE_WINDOW"))
        system->closing(x.xclient.window, false);
    return 0;  // FLTK handles it as well
}

void FltkWindowSystem::closing(XId window, bool destroyed) {
    std::vector<Hook*> matching;
    for (Hook* hook : hooks_)
        if (hook->window == window && !hook->destroyed) matching.push_back(hook);
    for (Hook* hook : matching) {
        // An earlier report may have dropped this hook.
        if (std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end()) continue;
        // Both the window and its parent may tell of one destruction.
        hook->destroyed = destroyed;
        hook->report(kWmClose);
    }
}

}  // namespace pictavo::platform::fltk
