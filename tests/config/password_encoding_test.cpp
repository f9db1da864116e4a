#include "config/password_encoding.h"

#include <gtest/gtest.h>

#include <random>

#include "common/text.h"
#include "settings/memory_store.h"
#include "settings/settings.h"

namespace pictavo::config {
namespace {

// Expected values were worked out from the rules by hand and by a separate
// script, not by this code.
std::string bytes(std::initializer_list<int> codes) {
    std::string s;
    for (int c : codes) s += static_cast<char>(c);
    return s;
}

TEST(EncodeStep, RefusesEveryReservedResult) {
    struct Case {
        int code, key, expected;
    };
    const Case cases[] = {
        {65, 1, 64},                    // plain XOR
        {65, 124, 65},                  // would be "="
        {65, 26, 65},                   // would be "["
        {65, 28, 65},                   // would be "]"
        {65, 97, 65},                   // would be 32, the blank
        {65, 96, 33},                   // 33 is allowed
        {65, 63, 126},                  // 126 is allowed
        {65, 62, 65},                   // would be 127
        {65, 209, 65},                  // would be 144
        {65, 208, 145},                 // 145 and 146 are allowed
        {65, 211, 146}, {65, 210, 65},  // would be 147
        {65, 222, 65},                  // would be 159
        {65, 225, 160},                 // 160 is allowed
        {200, 0, 200},                  // key 0 leaves any code alone
    };
    for (const Case& c : cases) {
        auto code = static_cast<int16_t>(c.code);
        EncodeStep(code, static_cast<int16_t>(c.key));
        EXPECT_EQ(code, c.expected) << c.code << " xor " << c.key;
    }
}

TEST(EncodePassword, EmptyTextStaysEmpty) {
    EXPECT_EQ(EncodePassword(""), "");
}

TEST(EncodePassword, OneCharacterGetsOnlyTheForwardPass) {
    // 'A' xor 1 = '@'; '@' xor 71 = 7 is reserved, so '@' stays.
    EXPECT_EQ(EncodePassword("a"), "@");
    EXPECT_EQ(EncodePassword("A"), "@");
    EXPECT_EQ(EncodePassword(" "), "f");
}

TEST(EncodePassword, IgnoresLetterCase) {
    EXPECT_EQ(EncodePassword("ab"), "AC");
    EXPECT_EQ(EncodePassword("AB"), "AC");
    EXPECT_EQ(EncodePassword("Secret"), "SECREQ");
    EXPECT_EQ(EncodePassword("sEcReT"), "SECREQ");
    EXPECT_EQ(EncodePassword("Zz"), "ZY");
    // Accented letters too, as the Windows code page upper-cases them.
    EXPECT_EQ(EncodePassword("naïve café"), EncodePassword("NAÏVE CAFÉ"));
}

TEST(EncodePassword, TwentyCharacters) {
    EXPECT_EQ(EncodePassword("abcdefghijklmnopqrst"), "ABCDEFGOUJKLMNUPQRSG");
    EXPECT_EQ(EncodePassword("Pictavo/32 rules!!"), "1a;x,m;ti;SRUh$a2O");
}

TEST(EncodePassword, StepsThatWouldGiveReservedCodesLeaveTheCodeAlone) {
    // Each of these texts meets steps whose result would be "=", "[", "]",
    // 127..144 or 147..159.
    EXPECT_EQ(EncodePassword("6,D|5G"), "S\"x<52");
    EXPECT_EQ(EncodePassword("5/N5B1>9"), "W-q?FvGy");
    EXPECT_EQ(EncodePassword("O.}"), "OY;");
    EXPECT_EQ(cp1252ToUtf8(encodePasswordBytes(utf8ToCp1252("?SHEÿ)0"))),
              cp1252ToUtf8(bytes({0x54, 0x6B, 0xE4, 0xAC, 0xE9, 0x34, 0xC3})));
    // Reserved characters typed by the user are encoded like any other.
    EXPECT_EQ(EncodePassword("=[]"), "zZ_");
}

TEST(EncodePassword, CharactersBeyondAsciiGoThroughTheWindowsCodePage) {
    EXPECT_EQ(encodePasswordBytes(utf8ToCp1252("naïve café")),
              bytes({0xB8, 0xF6, 0xB7, 0x78, 0x2E, 0x6B, 0x6C, 0x4B, 0x21, 0xA4}));
    EXPECT_EQ(encodePasswordBytes(utf8ToCp1252("€uro")), bytes({0xC3, 0x55, 0x52, 0x4C}));
    EXPECT_EQ(EncodePassword("€uro"), "\u00C3URL");
    // ÿ upper-cases to Ÿ (0x9F), as the code page does.
    EXPECT_EQ(EncodePassword("ÿ"), EncodePassword("Ÿ"));
    // A character the code page lacks counts as "?", as typing it there would.
    EXPECT_EQ(EncodePassword("Ж"), EncodePassword("?"));
}

TEST(EncodePassword, NeverMakesAReservedCodeOutOfAnUnreservedOne) {
    std::mt19937 generator(1234);
    std::uniform_int_distribution<int> length(1, 20), code(0, 255);
    for (int trial = 0; trial < 20000; ++trial) {
        std::string text;
        for (int i = length(generator); i > 0; --i) text += static_cast<char>(code(generator));
        std::string encoded = encodePasswordBytes(text);
        ASSERT_EQ(encoded.size(), text.size());
        for (size_t i = 0; i < text.size(); ++i) {
            auto out = static_cast<unsigned char>(encoded[i]);
            // A reserved code in the result can only be the typed one, kept as it was.
            if (isReservedCode(out)) {
                ASSERT_EQ(encoded[i], upperCp1252(text[i])) << "trial " << trial;
            }
        }
    }
}

TEST(EncodePassword, StoredTextRoundTripsThroughTheStore) {
    // Every possible encoded byte string survives UTF-8 and the store, so a
    // password set on one build is accepted by the other.
    std::mt19937 generator(99);
    std::uniform_int_distribution<int> length(1, 20), code(32, 255);
    settings::MemorySettingsStore store;
    for (int trial = 0; trial < 2000; ++trial) {
        std::string typed;
        for (int i = length(generator); i > 0; --i) typed += static_cast<char>(code(generator));
        std::string encoded = EncodePassword(cp1252ToUtf8(typed));
        ASSERT_EQ(utf8ToCp1252(encoded), encodePasswordBytes(typed));
        ASSERT_TRUE(settings::savePassword(store, encoded).ok());
        ASSERT_EQ(settings::loadPassword(store), encoded);
        ASSERT_EQ(EncodePassword(cp1252ToUtf8(typed)), settings::loadPassword(store));
    }
}

TEST(EncodePassword, LongTextsStayBytes) {
    // Far beyond what the boxes accept; every code must still be one byte.
    std::string text(300, 'x');
    std::string encoded = encodePasswordBytes(text);
    EXPECT_EQ(encoded.size(), 300u);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(encoded)), encoded);
}

}  // namespace
}  // namespace pictavo::config
