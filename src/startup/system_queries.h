#pragma once
// The start-up code's two small questions to the system.

#include <cstdint>
#include <string>

#include "platform/registry.h"
#include "platform/window_system.h"

namespace pictavo::startup {

inline constexpr uint32_t kHkeyCurrentUser = 0x80000001u;
inline constexpr const char* kDesktopKey = "Control Panel\\Desktop";
inline constexpr const char* kUsePasswordValue = "ScreenSaveUsePassword";

// True when no top-level window of any class has exactly this caption.
bool NoWindowTitled(platform::WindowSystem& windows, const std::string& title);

// One registry value as text, or the empty text on any failure. A 32-bit
// number comes back as at least three digits ("000", "001", "1000").
std::string ReadRegistryText(platform::Registry& registry, uint32_t root, const std::string& subKey,
                             const std::string& valueName);

}  // namespace pictavo::startup
