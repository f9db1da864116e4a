#pragma once
// The seam carries window handles as plain 64-bit numbers.

#include <windows.h>

#include <cstdint>

#include "platform/types.h"

namespace pictavo::platform::win32 {

inline HWND toHwnd(WindowHandle handle) {
    return reinterpret_cast<HWND>(static_cast<intptr_t>(handle));
}

inline WindowHandle toHandle(HWND hwnd) {
    return static_cast<WindowHandle>(reinterpret_cast<intptr_t>(hwnd));
}

}  // namespace pictavo::platform::win32
