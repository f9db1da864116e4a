#pragma once
// The one-line input box: a prompt, an edit box, OK and Cancel, built in
// code and run modally on the program's message loop.

#include <optional>
#include <string>

#include "hosts/win32/base_window.h"
#include "hosts/win32/gdi_objects.h"
#include "hosts/win32/open_windows.h"
#include "hosts/win32/win32_event_loop.h"

namespace pictavo::platform::win32 {

class InputBox : public MessageFilter, private BaseWindow<InputBox> {
    friend class BaseWindow<InputBox>;

  public:
    InputBox(OpenWindows& windows, Win32EventLoop& loop) : windows_(windows), loop_(loop) {}
    ~InputBox() override;

    // nullopt when the user cancels or closes the box.
    std::optional<std::string> ask(const std::string& prompt, const std::string& title,
                                   const std::string& initial);

    bool preTranslate(MSG& message) override;

  private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void createChildren(const std::string& prompt, const std::string& initial);
    void finish(bool accepted);

    OpenWindows& windows_;
    Win32EventLoop& loop_;
    HWND edit_ = nullptr;
    std::optional<std::string> answer_;
};

}  // namespace pictavo::platform::win32
