#pragma once
// What follows the program's name on a Windows command line. The system
// starts a screen saver with its name quoted or not, sometimes as a short
// 8.3 path, and with switches such as "/c:1234" or "/p 1234".

#include <string_view>

namespace pictavo::platform::win32 {

std::string_view argumentsAfterProgramName(std::string_view commandLine);

}  // namespace pictavo::platform::win32
