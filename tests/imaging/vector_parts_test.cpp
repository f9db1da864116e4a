// The smaller pieces the vector decoders stand on: DXF groups and text, the
// bitmaps metafiles embed, and hairlines.

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "imaging/decoders/bmp_dib.h"
#include "imaging/decoders/dxf_groups.h"
#include "imaging/decoders/dxf_text.h"
#include "imaging/vector/path_painter.h"

namespace pictavo::imaging {
namespace {

std::span<const uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

TEST(DxfGroups, ReadsTextGroupsAndTheirNumbers) {
    const std::string text = "  0\r\nSECTION\r\n 10\r\n-12.5\r\n 70\r\n    42\r\n 40\r\n1e3\r\n";
    dxf::GroupReader reader(bytesOf(text));
    dxf::Group group;
    ASSERT_TRUE(reader.next(group));
    EXPECT_TRUE(group.is(0, "SECTION"));
    ASSERT_TRUE(reader.next(group));
    EXPECT_EQ(group.code, 10);
    EXPECT_DOUBLE_EQ(group.real(), -12.5);
    ASSERT_TRUE(reader.next(group));
    EXPECT_EQ(group.integer(), 42);
    ASSERT_TRUE(reader.next(group));
    EXPECT_DOUBLE_EQ(group.real(), 1000);
    EXPECT_FALSE(reader.next(group));
    EXPECT_FALSE(reader.broken());
}

// Found by fuzzing: a whole number written as a real too big for 64 bits
// (".1e82" columns) was converted regardless, which is undefined.
TEST(DxfGroups, WholeNumbersBeyondSixtyFourBitsReadAsNothing) {
    EXPECT_EQ((dxf::Group{70, ".5e3"}).integer(), 500);
    EXPECT_EQ((dxf::Group{70, " 42.9 "}).integer(), 42);
    EXPECT_EQ((dxf::Group{70, ".1e82"}).integer(), 0);
    EXPECT_EQ((dxf::Group{70, "-.1e300"}).integer(), 0);
}

// Found by fuzzing: a long run of digits where a group code belongs
// overflowed the code before it was refused.
TEST(DxfGroups, LongCodesAreRefused) {
    const std::string text = "99999999999999999999\nvalue\n";
    dxf::GroupReader reader(bytesOf(text));
    dxf::Group group;
    EXPECT_FALSE(reader.next(group));
    EXPECT_TRUE(reader.broken());
}

TEST(DxfGroups, PlainDecimalsReadExactlyAsTheLibraryReadsThem) {
    for (const char* number : {"0.1", "123.456789", "-0.000001", "99999999.999999", "3", "+7.25",
                               "0.30000000000000004", "1234567890.12345"}) {
        dxf::Group group;
        group.text = number;
        double expected = 0;
        std::string_view text = number;
        if (text.front() == '+') text.remove_prefix(1);
        std::from_chars(text.data(), text.data() + text.size(), expected);
        EXPECT_EQ(group.real(), expected) << number;
    }
}

TEST(DxfGroups, ReadsBinaryGroupsOfEveryType) {
    std::string file("AutoCAD Binary DXF\r\n\x1a\0", 22);
    auto code = [&](int c) {
        file += static_cast<char>(c & 0xFF);
        file += static_cast<char>(c >> 8);
    };
    code(0);
    file += std::string("SECTION\0", 8);
    code(10);
    const double value = 2.75;
    file.append(reinterpret_cast<const char*>(&value), 8);
    code(62);
    file += std::string("\xF9\xFF", 2);  // -7
    code(420);
    file += std::string("\x01\x02\x03\x00", 4);
    code(310);
    file += std::string("\x02\xAA\xBB", 3);  // a chunk of two bytes
    code(1);
    file += std::string("done\0", 5);
    dxf::GroupReader reader(bytesOf(file));
    dxf::Group group;
    ASSERT_TRUE(reader.next(group));
    EXPECT_TRUE(group.is(0, "SECTION"));
    ASSERT_TRUE(reader.next(group));
    EXPECT_DOUBLE_EQ(group.real(), 2.75);
    ASSERT_TRUE(reader.next(group));
    EXPECT_EQ(group.integer(), -7);
    ASSERT_TRUE(reader.next(group));
    EXPECT_EQ(group.integer(), 0x030201);
    ASSERT_TRUE(reader.next(group));
    EXPECT_EQ(group.code, 310);
    ASSERT_TRUE(reader.next(group));
    EXPECT_TRUE(group.is(1, "done"));
    EXPECT_FALSE(reader.next(group));
    // Cut inside a number: the reader stops and says so.
    const std::string shortened = file.substr(0, 22 + 10 + 5);
    dxf::GroupReader cut(bytesOf(shortened));
    while (cut.next(group)) {
    }
    EXPECT_TRUE(cut.broken());
}

TEST(DxfText, DecodesControlCodesAndEscapes) {
    EXPECT_EQ(dxf::decodeDxfText("45%%d %%p0.1 %%c10 100%%% %%uX", false),
              U"45\u00B0 \u00B10.1 \u230010 100% X");
    EXPECT_EQ(dxf::decodeDxfText("\\U+00E9t\\U+zz", false), U"\u00E9t\\U+zz");
    EXPECT_EQ(dxf::decodeDxfText("caf\xC3\xA9", true), U"caf\u00E9");
    EXPECT_EQ(dxf::decodeDxfText("caf\xE9", false), U"caf\u00E9");
}

TEST(DxfText, ParagraphsLoseTheirFormattingAndWrap) {
    const auto lines = dxf::paragraphLines(U"{\\fArial|b1;Title}\\PA\\S1^2;B\\~C", 0);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], U"Title");
    EXPECT_EQ(lines[1], U"A1/2B C");
    const auto wrapped = dxf::paragraphLines(U"one two three four", 10);
    ASSERT_EQ(wrapped.size(), 2u);
    EXPECT_EQ(wrapped[0], U"one two");
    EXPECT_EQ(wrapped[1], U"three four");
}

// A packed DIB: BITMAPINFOHEADER, colour table, rows bottom up.
std::vector<uint8_t> dib(int width, int height, int bits, uint32_t compression,
                         const std::vector<uint32_t>& table, const std::vector<uint8_t>& rows) {
    std::vector<uint8_t> out;
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    put(40, 4);
    put(static_cast<uint32_t>(width), 4);
    put(static_cast<uint32_t>(height), 4);
    put(1, 2);
    put(static_cast<uint32_t>(bits), 2);
    put(compression, 4);
    put(0, 4);
    put(0, 4);
    put(0, 4);
    put(static_cast<uint32_t>(table.size()), 4);
    put(0, 4);
    for (const uint32_t colour : table) put(colour, 4);
    out.insert(out.end(), rows.begin(), rows.end());
    return out;
}

TEST(PackedDib, ReadsIndexedAndTrueColourRowsBottomUp) {
    // 4-bit, 3 x 2: bottom row 0 1 0, top row 1 1 0 (rows padded to 4 bytes).
    const auto four = dib(3, 2, 4, 0, {0x000000, 0xFF0000}, {0x01, 0x00, 0, 0, 0x11, 0x00, 0, 0});
    auto image = decodePackedDib(four);
    ASSERT_TRUE(image) << image.error().message;
    EXPECT_EQ(image->at(0, 1), rgb(0, 0, 0));
    EXPECT_EQ(image->at(1, 1), rgb(255, 0, 0));
    EXPECT_EQ(image->at(0, 0), rgb(255, 0, 0));
    EXPECT_EQ(image->at(2, 0), rgb(0, 0, 0));
    // 24-bit: blue, green, red bytes.
    const auto deep = dib(1, 1, 24, 0, {}, {0x10, 0x20, 0x30, 0});
    image = decodePackedDib(deep);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->at(0, 0), rgb(0x30, 0x20, 0x10));
}

TEST(PackedDib, ReadsRunLengthRows) {
    // RLE8, 4 x 2: a run of four 1s, end of line, two literal pixels 0 1, end of bitmap.
    const auto runs = dib(4, 2, 8, 1, {0x0000FF, 0x00FF00}, {4, 1, 0, 0, 0, 3, 0, 1, 1, 0, 0, 1});
    auto image = decodePackedDib(runs);
    ASSERT_TRUE(image) << image.error().message;
    EXPECT_EQ(image->at(3, 1), rgb(0, 255, 0));  // bottom row
    EXPECT_EQ(image->at(0, 0), rgb(0, 0, 255));
    EXPECT_EQ(image->at(1, 0), rgb(0, 255, 0));
}

TEST(PackedDib, RefusesToReserveMoreThanItsBytesCanFill) {
    const auto huge = dib(16000, 4000, 24, 0, {}, {1, 2, 3});
    EXPECT_EQ(decodePackedDib(huge).error().message, "file is truncated");
    EXPECT_EQ(decodePackedDib(dib(2, 2, 7, 0, {}, {})).error().message,
              "unsupported DIB file: 7 bits per pixel");
}

TEST(PackedDib, ReadsPaletteIndicesIntoTheLogicalPalette) {
    // 1-bit, 2 x 1, its colour table two 16-bit indices: 1, and 7 past the
    // logical palette's end, which still tells its pixels apart as grey.
    auto bytes = dib(2, 1, 1, 0, {}, {});
    bytes.insert(bytes.end(), {1, 0, 7, 0, 0x40, 0, 0, 0});
    const std::vector<Pixel> logical = {rgb(10, 20, 30), rgb(200, 100, 50)};
    auto image = decodePackedDib(bytes, true, logical);
    ASSERT_TRUE(image) << image.error().message;
    EXPECT_EQ(image->at(0, 0), rgb(200, 100, 50));
    EXPECT_EQ(image->at(1, 0), rgb(7, 7, 7));
    // Read as colours, the same table would be cut short.
    EXPECT_FALSE(decodePackedDib(bytes, false, logical));
}

TEST(PackedDib, PixelsTheRunsSkipTakeTheFirstColourAndErrorsNameTheDib) {
    // RLE8, 3 x 2: a delta up one row, one pixel of colour 1, end of bitmap.
    const auto runs = dib(3, 2, 8, 1, {0x0000FF, 0x00FF00}, {0, 2, 0, 1, 1, 1, 0, 1});
    auto image = decodePackedDib(runs);
    ASSERT_TRUE(image) << image.error().message;
    EXPECT_EQ(image->at(0, 0), rgb(0, 255, 0));
    for (const auto& [x, y] : {std::pair{1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}}) {
        EXPECT_EQ(image->at(x, y), rgb(0, 0, 255)) << x << ", " << y;
    }
    EXPECT_EQ(decodePackedDib(dib(2, 2, 8, 2, {}, {})).error().message,
              "invalid DIB file: compression does not suit the bit depth");
}

TEST(Hairline, InkFollowsTheLengthInEveryDirection) {
    for (const double angle : {0.0, 0.3, 0.785, 1.2, 1.5708}) {
        Image image(120, 120, rgb(255, 255, 255));
        vector::PathPainter canvas(image);
        const vector::Point from{60 - 40 * std::cos(angle), 60 - 40 * std::sin(angle)};
        const vector::Point to{60 + 40 * std::cos(angle), 60 + 40 * std::sin(angle)};
        canvas.drawHairline(from, to, rgb(0, 0, 0));
        double ink = 0;
        for (const Pixel p : image.pixels) ink += (255 - green(p)) / 255.0;
        EXPECT_NEAR(ink, 80, 4) << angle;  // one pixel wide, 80 long
    }
}

}  // namespace
}  // namespace pictavo::imaging
