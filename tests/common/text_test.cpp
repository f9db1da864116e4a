#include "common/text.h"

#include <gtest/gtest.h>

namespace pictavo {
namespace {

TEST(Cp1252, RoundTripsEveryByte) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

TEST(Cp1252, MapsTheTypographicCharacters) {
    EXPECT_EQ(utf8ToCp1252("\xE2\x82\xAC"), "\x80");  // euro sign
    EXPECT_EQ(utf8ToCp1252("\xC3\xA9"), "\xE9");      // e acute
    EXPECT_EQ(cp1252ToUtf8("\x99"), "\xE2\x84\xA2");  // trade mark
    EXPECT_EQ(utf8ToCp1252("\xE4\xB8\xAD"), "?");     // not in the code page
    EXPECT_EQ(utf8ToCp1252("\xC3"), "?");             // truncated sequence
}

TEST(Cp1252, UpperCasesAccentedLettersButNotDivision) {
    EXPECT_EQ(upperCp1252('a'), 'A');
    EXPECT_EQ(upperCp1252('\xE9'), '\xC9');
    EXPECT_EQ(upperCp1252('\xF7'), '\xF7');
    EXPECT_EQ(upperCp1252('\xFF'), '\x9F');
    EXPECT_EQ(upperCp1252('\x9A'), '\x8A');
    EXPECT_EQ(upperCp1252('1'), '1');
}

TEST(EchoedText, ControlCharactersAreWrittenOut) {
    EXPECT_EQ(escapeControlCharacters("a\nb\\c\td\x01\x7F\xC3\xA9"),
              "a\\nb\\\\c\\td\\x01\\x7F\xC3\xA9");
    EXPECT_EQ(escapeControlCharacters(""), "");
}

TEST(EchoedText, LongTextIsCutAtACharacter) {
    EXPECT_EQ(shortened("short", 10), "short");
    EXPECT_EQ(shortened("0123456789abc", 10), "0123456789...");
    // "e acute" takes two bytes: the cut falls before it, not inside it.
    EXPECT_EQ(shortened("012345678\xC3\xA9xyz", 10), "012345678...");
}

}  // namespace
}  // namespace pictavo
