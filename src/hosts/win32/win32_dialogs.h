#pragma once

#include "hosts/win32/open_windows.h"
#include "hosts/win32/win32_event_loop.h"
#include "platform/dialogs.h"

namespace pictavo::platform::win32 {

class Win32Dialogs : public Dialogs {
  public:
    Win32Dialogs(OpenWindows& windows, Win32EventLoop& loop) : windows_(windows), loop_(loop) {}

    int messageBox(const std::string& text, const std::string& title, int style) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& initial) override;

  private:
    OpenWindows& windows_;
    Win32EventLoop& loop_;
};

}  // namespace pictavo::platform::win32
