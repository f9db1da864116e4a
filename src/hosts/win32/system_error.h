#pragma once

#include <cstdint>
#include <string>

namespace pictavo::platform::win32 {

// The system's own text for an error code, without the trailing line break.
std::string systemErrorText(uint32_t code);

}  // namespace pictavo::platform::win32
