#pragma once

#include "platform/system_info.h"

namespace pictavo::platform::win32 {

class Win32SystemInfo : public SystemInfo {
  public:
    int getVersion(OsVersionInfo& info) override;
    int setScreenSaverRunning(bool running) override;
};

}  // namespace pictavo::platform::win32
