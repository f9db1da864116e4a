#pragma once
// The operating system as the saver asks about it. Linux reports a
// platform id other than the NT family's 2, so the saver's own password
// prompt guards the show when ScreenSaveUsePassword is on. The
// screen-saver-running flag has no meaning here: locking belongs to the
// desktop's screen locker.

#include "platform/system_info.h"

namespace pictavo::platform::fltk {

class FltkSystemInfo : public SystemInfo {
  public:
    static constexpr uint32_t kPlatformId = 1;

    int getVersion(OsVersionInfo& info) override {
        if (info.size != sizeof(OsVersionInfo)) return 0;
        info.majorVersion = 5;
        info.minorVersion = 0;
        info.platformId = kPlatformId;
        return 1;
    }
    int setScreenSaverRunning(bool) override { return 1; }
};

}  // namespace pictavo::platform::fltk
