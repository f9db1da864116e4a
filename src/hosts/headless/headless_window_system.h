#pragma once
// Native windows in memory: the program's own forms and controls, and
// windows of other programs a test makes (the display settings' preview
// window, another saver's slide window).

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/window_system.h"

namespace pictavo::platform::headless {

class HeadlessWindowSystem : public WindowSystem {
  public:
    WindowHandle findWindowByTitle(const std::string& title) override;
    void setTopmost(WindowHandle window) override;
    WindowHandle setParent(WindowHandle child, WindowHandle parent) override;
    bool isWindow(WindowHandle window) override;
    ClientRect clientRect(WindowHandle window) override;
    std::unique_ptr<MessageHookHandle> hookMessage(WindowHandle window, uint32_t message,
                                                   std::function<void(uint32_t)> report) override;

    // A window of another program; top-level windows can be found by title.
    WindowHandle createWindow(const std::string& title, int width, int height,
                              bool topLevel = true);
    // Registers one of the program's own windows (forms register themselves).
    WindowHandle registerOwn(const std::string& title, bool topLevel);
    void setTitle(WindowHandle window, const std::string& title);
    void setSize(WindowHandle window, int width, int height);
    // The window and its children are gone, as when their owner destroys them.
    void destroyWindow(WindowHandle window);
    // Sends WM_CLOSE, as the system does to a preview's children.
    void sendClose(WindowHandle window);

    WindowHandle parentOf(WindowHandle window) const;
    bool isTopmost(WindowHandle window) const;
    // Every call the program made, e.g. "topmost 3", "setParent 7 1234".
    const std::vector<std::string>& calls() const { return calls_; }

  private:
    struct Window {
        std::string title;
        bool topLevel = true;
        bool alive = true;
        bool topmost = false;
        WindowHandle parent = 0;
        int width = 0;
        int height = 0;
    };
    struct Hook;

    std::map<WindowHandle, Window> windows_;
    std::vector<Hook*> hooks_;
    std::vector<std::string> calls_;
    WindowHandle next_ = 0x1000;
};

}  // namespace pictavo::platform::headless
