#include "hosts/win32/win32_cursor.h"

#include <windows.h>

namespace pictavo::platform::win32 {

int Win32Cursor::showCursor(bool show) {
    return ShowCursor(show ? TRUE : FALSE);
}

}  // namespace pictavo::platform::win32
