#pragma once
// The operating system's version record and its screen-saver-running flag.

#include <cstdint>

namespace pictavo::platform {

// The 148-byte version record: its own size first, the platform id fifth.
struct OsVersionInfo {
    uint32_t size = 148;
    uint32_t majorVersion = 0;
    uint32_t minorVersion = 0;
    uint32_t buildNumber = 0;
    uint32_t platformId = 0;  // 1 = Windows 95 family, 2 = NT family
    char servicePack[128] = {};
};
static_assert(sizeof(OsVersionInfo) == 148);

class SystemInfo {
  public:
    virtual ~SystemInfo() = default;
    // Fills info (whose size field says 148); returns non-zero on success.
    virtual int getVersion(OsVersionInfo& info) = 0;
    // The system-wide flag that a screen saver is running (action 97 of the
    // system parameters call): on the Windows 95 family it keeps the task-
    // switching keys away. Returns the call's result.
    virtual int setScreenSaverRunning(bool running) = 0;
};

}  // namespace pictavo::platform
