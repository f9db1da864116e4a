#pragma once

#include "platform/cursor.h"

namespace pictavo::platform::win32 {

class Win32Cursor : public Cursor {
  public:
    int showCursor(bool show) override;
};

}  // namespace pictavo::platform::win32
