#include "hosts/win32/win32_dialogs.h"

#include <windows.h>

#include "hosts/win32/text_encoding.h"

namespace pictavo::platform::win32 {

int Win32Dialogs::messageBox(const std::string& text, const std::string& title, int style) {
    // Owned by the active window, so it stays in front of a topmost show.
    return MessageBoxW(GetActiveWindow(), toWide(text).c_str(), toWide(title).c_str(),
                       static_cast<UINT>(style) | MB_SETFOREGROUND);
}

}  // namespace pictavo::platform::win32
