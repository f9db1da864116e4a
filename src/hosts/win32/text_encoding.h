#pragma once
// The core speaks UTF-8; Windows speaks UTF-16 (W functions) or the ANSI
// code page (A functions). Conversions happen here, at the API boundary.

#include <string>
#include <string_view>

namespace pictavo::platform::win32 {

std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);
// UTF-8 to the system's ANSI code page; characters it lacks become '?'.
std::string toAnsi(std::string_view utf8);

}  // namespace pictavo::platform::win32
