#pragma once
// MessageHook1 of the preview: which window it watches, which messages it
// reports, and the report itself. The window system does the watching.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "platform/window_system.h"

namespace pictavo::slideshow {

class MessageHook {
  public:
    using Report = std::function<void(uint32_t message)>;

    MessageHook(platform::WindowSystem& windows, Report report);

    platform::WindowHandle hookedWindow() const { return window_; }
    void setHookedWindow(platform::WindowHandle window);
    // Switches the report of one message on or off.
    void setMessage(uint32_t message, bool on);

  private:
    platform::WindowSystem& windows_;
    Report report_;
    platform::WindowHandle window_ = 0;
    std::map<uint32_t, std::unique_ptr<platform::MessageHookHandle>> watches_;
};

}  // namespace pictavo::slideshow
