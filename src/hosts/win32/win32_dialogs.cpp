#include "hosts/win32/win32_dialogs.h"

#include "hosts/win32/input_box.h"
#include "hosts/win32/text_encoding.h"

namespace pictavo::platform::win32 {

int Win32Dialogs::messageBox(const std::string& text, const std::string& title, int style) {
    // Owned by the active window, so it stays in front of a topmost show.
    return MessageBoxW(GetActiveWindow(), toWide(text).c_str(), toWide(title).c_str(),
                       static_cast<UINT>(style) | MB_SETFOREGROUND);
}

std::optional<std::string> Win32Dialogs::inputBox(const std::string& prompt,
                                                  const std::string& title,
                                                  const std::string& initial) {
    InputBox box(windows_, loop_);
    return box.ask(prompt, title, initial);
}

}  // namespace pictavo::platform::win32
