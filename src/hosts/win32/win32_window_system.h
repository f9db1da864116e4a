#pragma once
// Calls on windows by handle. The message hook subclasses the window, so it
// can watch only windows of this process (the preview's own picture control);
// for any other window it hooks nothing.

#include "platform/window_system.h"

namespace pictavo::platform::win32 {

class Win32WindowSystem : public WindowSystem {
  public:
    WindowHandle findWindowByTitle(const std::string& title) override;
    void setTopmost(WindowHandle window) override;
    WindowHandle setParent(WindowHandle child, WindowHandle parent) override;
    bool isWindow(WindowHandle window) override;
    ClientRect clientRect(WindowHandle window) override;
    std::unique_ptr<MessageHookHandle> hookMessage(
        WindowHandle window, uint32_t message,
        std::function<void(uint32_t message)> report) override;
};

}  // namespace pictavo::platform::win32
