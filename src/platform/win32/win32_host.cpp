#include "platform/win32/win32_host.h"

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

namespace pictavo::platform::win32 {

Win32Host::Win32Host() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
}

}  // namespace pictavo::platform::win32
