#pragma once
// Text helpers: case folding, and the Windows-1252 code page the saver's
// single-byte texts (the stored password) use on every build.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pictavo {

// Appends one code point as UTF-8.
void appendUtf8(std::string& out, char32_t code);

std::string toLowerAscii(std::string_view text);
bool equalsIgnoreCaseAscii(std::string_view a, std::string_view b);

// UTF-8 to Windows-1252 bytes. Characters the code page lacks become '?'.
std::string utf8ToCp1252(std::string_view utf8);
// Windows-1252 bytes to UTF-8; the five unassigned codes map to the C1
// controls of the same number, so the two functions are inverses.
std::string cp1252ToUtf8(std::string_view bytes);

// The first count characters of UTF-8 text (a limit counts characters, not
// bytes); the whole text when count is 0 or less.
std::string firstCharacters(std::string_view utf8, int count);

// Text with its control characters written out, so that it stays on one
// line and reads back unchanged: \\, \n, \r, \t, and \xHH for the others.
std::string escapeControlCharacters(std::string_view text);

// Text as it is echoed in a message: at most about limit bytes, cut at a
// character's start and ended with "..." when it was longer.
std::string shortened(std::string_view text, size_t limit = 64);

// Upper-casing as the Windows ANSI code page does it on single bytes:
// a-z and the accented lower-case letters of Windows-1252.
char upperCp1252(char c);

}  // namespace pictavo
