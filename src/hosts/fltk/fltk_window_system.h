#pragma once
// Windows by handle on X11: the program's own and other programs' alike.
//
// - findWindowByTitle: the top-level windows (children of the root, or the
//   clients inside a window manager's frames) whose WM_NAME or _NET_WM_NAME
//   is exactly the title;
// - setTopmost: _NET_WM_STATE_ABOVE, and a raise where no window manager is;
// - setParent: XReparentWindow (0 = the root window); a window of the
//   program's own lent to another program's window stays mapped: FLTK does
//   not hear of it being unmapped and mapped on the way;
// - hookMessage(WM_CLOSE): reported when the window is asked to close
//   (WM_DELETE_WINDOW) or is destroyed, as a preview's window is when the
//   program that lent it goes away.

#include <set>
#include <vector>

#include "hosts/fltk/x11_types.h"
#include "platform/window_system.h"

namespace pictavo::platform::fltk {

class FltkWindowSystem : public WindowSystem {
  public:
    FltkWindowSystem();
    ~FltkWindowSystem() override;
    FltkWindowSystem(const FltkWindowSystem&) = delete;
    FltkWindowSystem& operator=(const FltkWindowSystem&) = delete;

    WindowHandle findWindowByTitle(const std::string& title) override;
    void setTopmost(WindowHandle window) override;
    WindowHandle setParent(WindowHandle child, WindowHandle parent) override;
    bool isWindow(WindowHandle window) override;
    ClientRect clientRect(WindowHandle window) override;
    std::unique_ptr<MessageHookHandle> hookMessage(
        WindowHandle window, uint32_t message,
        std::function<void(uint32_t message)> report) override;

  private:
    struct Hook;
    static int xEvent(void* event, void* self);
    void closing(XId window, bool destroyed);

    std::vector<Hook*> hooks_;
    // The program's own windows that live in another program's window.
    std::set<XId> lent_;
};

}  // namespace pictavo::platform::fltk
