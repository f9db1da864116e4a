#pragma once

#include <windows.h>

#include <string_view>

namespace pictavo::platform::win32 {

// Whether window is a dialog of the system's own (a message box), which runs
// a loop of its own rather than ours.
inline bool isSystemDialog(HWND window) {
    wchar_t className[16] = {};
    return window != nullptr && GetClassNameW(window, className, 16) != 0 &&
           std::wstring_view(className) == L"#32770";
}

}  // namespace pictavo::platform::win32
