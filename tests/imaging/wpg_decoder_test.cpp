// WordPerfect Graphics: the sample from elsewhere and files of both versions
// written here, compared with libwpg's rendering (wpg2svg, then
// GraphicsMagick) where the machine has it.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "imaging/decoders/wpg.h"
#include "imaging/decoders/wpg_common.h"
#include "temp_folder.h"
#include "vector_test_support.h"

namespace pictavo::imaging {
namespace {

namespace fs = std::filesystem;

class Bytes {
  public:
    Bytes& u8(int v) {
        data.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    Bytes& u16(int v) { return u8(v & 0xFF).u8((v >> 8) & 0xFF); }
    Bytes& u32(uint32_t v) {
        return u16(static_cast<int>(v & 0xFFFF)).u16(static_cast<int>(v >> 16));
    }
    Bytes& add(const Bytes& other) {
        data.insert(data.end(), other.data.begin(), other.data.end());
        return *this;
    }
    std::vector<uint8_t> data;
};

Bytes header(int version) {
    Bytes b;
    b.u8(0xFF).u8('W').u8('P').u8('C').u32(16).u8(1).u8(0x16).u8(version).u8(0).u16(0).u16(0);
    return b;
}

// WPG 1: type, then a one-byte (or 0xFF + 16-bit) length.
Bytes record1(int type, const Bytes& body) {
    Bytes b;
    b.u8(type);
    if (body.data.size() < 0xFF) {
        b.u8(static_cast<int>(body.data.size()));
    } else {
        b.u8(0xFF).u16(static_cast<int>(body.data.size()));
    }
    return b.add(body);
}

// WPG 2: class, type, extension, length.
Bytes record2(int type, const Bytes& body, int extension = 0) {
    Bytes b;
    b.u8(0x0F).u8(type).u8(extension);
    if (body.data.size() < 0xFF) {
        b.u8(static_cast<int>(body.data.size()));
    } else {
        b.u8(0xFF).u16(static_cast<int>(body.data.size()));
    }
    return b.add(body);
}

// Two inches by one at 1200 units to the inch: 192 x 96 pixels.
std::vector<uint8_t> version1Drawing() {
    Bytes file = header(1);
    file.add(record1(0x0F, Bytes().u8(1).u8(0).u16(2400).u16(1200)));
    file.add(record1(0x0E, Bytes().u16(20).u16(2).u8(255).u8(0).u8(0).u8(0).u8(0).u8(255)));
    file.add(record1(0x01, Bytes().u8(1).u8(20)));                       // solid red fill
    file.add(record1(0x02, Bytes().u8(0).u8(0).u16(0)));                 // no outline
    file.add(record1(0x07, Bytes().u16(0).u16(0).u16(1200).u16(1200)));  // left half
    file.add(record1(0x01, Bytes().u8(1).u8(21)));                       // blue
    // An ellipse centred in the right half, 500 by 400 units.
    file.add(
        record1(0x09, Bytes().u16(1800).u16(600).u16(500).u16(400).u16(0).u16(0).u16(360).u16(0)));
    file.add(record1(0x02, Bytes().u8(1).u8(0).u16(24)));  // black line, 2 pixels wide
    file.add(record1(0x05, Bytes().u16(0).u16(1150).u16(2400).u16(1150)));
    file.add(record1(0x10, Bytes()));
    return file.data;
}

TEST(WpgDecoder, Version1ShapesLandWhereTheirUnitsSay) {
    auto image = decodeWpg(version1Drawing());
    ASSERT_TRUE(image) << image.error().message;
    EXPECT_EQ(image->width, 192);
    EXPECT_EQ(image->height, 96);
    EXPECT_EQ(image->at(40, 60), rgb(255, 0, 0));       // the rectangle, y counted upwards
    EXPECT_EQ(image->at(144, 48), rgb(0, 0, 255));      // the ellipse's centre
    EXPECT_EQ(image->at(144, 10), rgb(255, 255, 255));  // above the ellipse (radius 32 px)
    EXPECT_EQ(image->at(100, 48), rgb(255, 255, 255));
    EXPECT_LT(green(image->at(150, 4)), 20);  // the line at y = 1150 units
}

// Found by fuzzing: every start record made a new picture, so a file of
// a few hundred bytes could ask for gigabytes.
TEST(WpgDecoder, OnlyTheFirstStartRecordCounts) {
    Bytes file = header(1);
    file.add(record1(0x0F, Bytes().u8(1).u8(0).u16(1200).u16(600)));
    for (int i = 0; i < 50; ++i) file.add(record1(0x0F, Bytes().u8(1).u8(0).u16(60000).u16(60000)));
    file.add(record1(0x10, Bytes()));
    auto image = decodeWpg(file.data);
    ASSERT_TRUE(image) << image.error().message;
    EXPECT_EQ(image->width, 96);
    EXPECT_EQ(image->height, 48);
}

TEST(WpgDecoder, Version1BitmapsAreRunLengthDecoded) {
    // A 4 x 2 bitmap of 8 bits: a run of four 9s (light blue), then a
    // literal row of 12, 12, 10, 10.
    Bytes bitmap;
    bitmap.u16(0).u16(0).u16(0).u16(1200).u16(1200);  // rotation, placed over the whole picture
    bitmap.u16(4).u16(2).u16(8).u16(75).u16(75);
    bitmap.u8(0x84).u8(9).u8(0x04).u8(12).u8(12).u8(10).u8(10);
    Bytes file = header(1);
    file.add(record1(0x0F, Bytes().u8(1).u8(0).u16(1200).u16(1200)));
    file.add(record1(0x14, bitmap));
    file.add(record1(0x10, Bytes()));
    auto image = decodeWpg(file.data);
    ASSERT_TRUE(image) << image.error().message;
    const auto palette = wpg::defaultPalette();
    EXPECT_EQ(image->at(10, 10), palette[9]);
    EXPECT_EQ(image->at(10, 80), palette[12]);
    EXPECT_EQ(image->at(80, 80), palette[10]);
}

TEST(WpgDecoder, DefaultPaletteIsTheVgaOne) {
    const auto palette = wpg::defaultPalette();
    EXPECT_EQ(palette[1], rgb(0, 0, 168));
    EXPECT_EQ(palette[31], rgb(252, 252, 252));
    EXPECT_EQ(palette[32], rgb(0, 0, 252));
    EXPECT_EQ(palette[33], rgb(64, 0, 252));
    EXPECT_EQ(palette[40], rgb(252, 0, 0));
    EXPECT_EQ(palette[56], rgb(124, 124, 252));
    EXPECT_EQ(palette[104], rgb(0, 0, 112));
    EXPECT_EQ(palette[255], rgb(0, 0, 0));
}

Bytes characterization(bool filled, bool framed, bool closed) {
    int flags = 0;
    if (filled) flags |= 1 << 13;
    if (closed) flags |= 1 << 14;
    if (framed) flags |= 1 << 15;
    return Bytes().u16(flags);
}

// One inch square at 1000 units to the inch: 96 x 96 pixels.
std::vector<uint8_t> version2Drawing() {
    Bytes file = header(2);
    Bytes start;
    start.u16(1000).u16(1000).u8(0);
    start.u16(0).u16(0).u16(1000).u16(1000);  // viewport
    start.u16(0).u16(0).u16(1000).u16(1000);  // picture
    file.add(record2(0x01, start));
    file.add(record2(0x31, Bytes().u8(0).u8(0).u8(160).u8(0).u8(0)));  // green brush
    file.add(record2(0x25, Bytes().u8(0).u8(0).u8(0).u8(0)));          // black pen
    file.add(record2(0x18, characterization(true, false, true)
                               .add(Bytes().u16(0).u16(500).u16(500).u16(1000).u16(0).u16(0))));
    file.add(record2(0x31, Bytes().u8(0).u8(255).u8(128).u8(0).u8(0)));  // orange brush
    // An ellipse at (750, 250), radii 200, its start and end points equal.
    file.add(record2(
        0x19,
        characterization(true, false, true)
            .add(Bytes().u16(750).u16(250).u16(200).u16(200).u16(200).u16(0).u16(200).u16(0))));
    file.add(record2(0x2B, Bytes().u16(20)));  // a pen 2 pixels wide
    Bytes line = characterization(false, true, false);
    line.u16(2).u16(0).u16(950).u16(1000).u16(950);
    file.add(record2(0x15, line));
    file.add(record2(0x02, Bytes()));
    return file.data;
}

TEST(WpgDecoder, Version2ShapesAndColours) {
    auto image = decodeWpg(version2Drawing());
    ASSERT_TRUE(image) << image.error().message;
    EXPECT_EQ(image->width, 96);
    EXPECT_EQ(image->height, 96);
    EXPECT_EQ(image->at(20, 20), rgb(0, 160, 0));  // upper left: y = 500..1000 units
    EXPECT_EQ(image->at(20, 70), rgb(255, 255, 255));
    EXPECT_EQ(image->at(72, 72), rgb(255, 128, 0));  // the ellipse, lower right
    EXPECT_EQ(image->at(50, 4), rgb(0, 0, 0));       // the line near the top
}

TEST(WpgDecoder, RefusesWhatIsNotAGraphicsFile) {
    EXPECT_EQ(decodeWpg(std::vector<uint8_t>(40, 'x')).error().message,
              "invalid WPG file: bad header");
    const auto whole = version1Drawing();
    EXPECT_EQ(decodeWpg({whole.begin(), whole.begin() + 10}).error().message, "file is truncated");
    Bytes empty = header(1);
    empty.add(record1(0x10, Bytes()));
    EXPECT_EQ(decodeWpg(empty.data).error().message, "invalid WPG file: no start record");
    Bytes huge = header(2);
    Bytes start;
    start.u16(10).u16(10).u8(0).u16(0).u16(0).u16(0).u16(0).u16(0).u16(0).u16(30000).u16(30000);
    huge.add(record2(0x01, start));
    EXPECT_EQ(decodeWpg(huge.data).error().message, "picture too large: 288000 x 288000");
    for (size_t cut = 16; cut < whole.size(); cut += 3) {
        const auto image = decodeWpg({whole.begin(), whole.begin() + static_cast<long>(cut)});
        if (!image) {
            EXPECT_FALSE(image.error().message.empty());
        }
    }
    EXPECT_EQ(makeWpgDecoder()->sniff(whole, ""), Confidence::Strong);
}

// libwpg draws at 72 dpi where we draw at 96: both are compared on their
// inked part, scaled to one small size.
double differenceFromLibwpg(const std::vector<uint8_t>& file, const Image& ours) {
    TempFolder folder;
    const fs::path wpg = folder.path() / "drawing.wpg";
    const fs::path svg = folder.path() / "drawing.svg";
    testing::writeBytes(wpg, file);
    if (!testing::run("wpg2svg '" + wpg.string() + "' > '" + svg.string() + "' 2>/dev/null"))
        return 255;
    const Image expected = testing::readWithGraphicsMagick(svg);
    if (expected.empty()) return 255;
    const Pixel page = rgb(255, 255, 255);
    const Image theirs = testing::cropToInk(expected, page);
    const Image mine = testing::cropToInk(ours, page);
    const int width = 48;
    const int height = std::max(1, theirs.height * width / theirs.width);
    return testing::meanGreyDifference(testing::scaleTo(mine, width, height),
                                       testing::scaleTo(theirs, width, height));
}

TEST(WpgDecoder, MatchesLibwpg) {
    if (!testing::haveTool("wpg2svg") || !testing::haveTool("gm"))
        GTEST_SKIP() << "no wpg2svg or gm";
    const auto first = version1Drawing();
    auto image = decodeWpg(first);
    ASSERT_TRUE(image);
    EXPECT_LT(differenceFromLibwpg(first, *image), 8);
    const auto second = version2Drawing();
    image = decodeWpg(second);
    ASSERT_TRUE(image);
    EXPECT_LT(differenceFromLibwpg(second, *image), 8);
}

TEST(WpgSamples, ShipMatchesLibwpg) {
    const fs::path file = testing::samplesDirectory() / "wpg" / "exiftool-WPG.wpg";
    if (!fs::exists(file)) GTEST_SKIP() << "no samples";
    const auto bytes = testing::readBytes(file);
    auto image = decodeWpg(bytes);
    ASSERT_TRUE(image) << image.error().message;
    // 10617 x 4614 units of 1/1200 inch.
    EXPECT_EQ(image->width, 849);
    EXPECT_EQ(image->height, 369);
    EXPECT_GT(testing::inkCoverage(*image, rgb(255, 255, 255)), 0.2);
    if (!testing::haveTool("wpg2svg") || !testing::haveTool("gm"))
        GTEST_SKIP() << "no wpg2svg or gm";
    EXPECT_LT(differenceFromLibwpg(bytes, *image), 6);
}

}  // namespace
}  // namespace pictavo::imaging
