#include "hosts/win32/win32_system_info.h"

#include <windows.h>

#include <cstring>

namespace pictavo::platform::win32 {

namespace {
constexpr UINT kSetScreenSaverRunning = 97;
static_assert(sizeof(OSVERSIONINFOA) == sizeof(OsVersionInfo));
}  // namespace

int Win32SystemInfo::getVersion(OsVersionInfo& info) {
    OSVERSIONINFOA record{};
    record.dwOSVersionInfoSize = info.size;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    BOOL ok = GetVersionExA(&record);
#pragma GCC diagnostic pop
    if (!ok) return 0;
    info.majorVersion = record.dwMajorVersion;
    info.minorVersion = record.dwMinorVersion;
    info.buildNumber = record.dwBuildNumber;
    info.platformId = record.dwPlatformId;
    std::memcpy(info.servicePack, record.szCSDVersion, sizeof info.servicePack);
    return ok;
}

int Win32SystemInfo::setScreenSaverRunning(bool running) {
    UINT previous = 0;
    return SystemParametersInfoA(kSetScreenSaverRunning, running ? TRUE : FALSE, &previous, 0);
}

}  // namespace pictavo::platform::win32
