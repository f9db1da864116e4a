#pragma once
// Calls on native windows by handle: lookup by title, stacking, parenting
// and the watch on another program's window that the preview needs.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/types.h"

namespace pictavo::platform {

// Stops reporting when destroyed.
class MessageHookHandle {
  public:
    virtual ~MessageHookHandle() = default;
};

class WindowSystem {
  public:
    static constexpr uint32_t kWmClose = 16;

    virtual ~WindowSystem() = default;
    // The top-level window whose caption is exactly title (any class), or 0.
    virtual WindowHandle findWindowByTitle(const std::string& title) = 0;
    // Keeps the window above all ordinary windows without moving, sizing or
    // activating it.
    virtual void setTopmost(WindowHandle window) = 0;
    // Makes child a child window of parent; returns the previous parent or 0.
    virtual WindowHandle setParent(WindowHandle child, WindowHandle parent) = 0;
    virtual bool isWindow(WindowHandle window) = 0;
    // All zero when the window does not exist.
    virtual ClientRect clientRect(WindowHandle window) = 0;
    // Reports each message in the set that window receives, until the returned
    // handle is destroyed. Only WM_CLOSE is ever asked for.
    virtual std::unique_ptr<MessageHookHandle> hookMessage(
        WindowHandle window, uint32_t message, std::function<void(uint32_t message)> report) = 0;
};

}  // namespace pictavo::platform
