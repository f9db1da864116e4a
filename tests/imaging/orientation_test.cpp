#include "imaging/orientation.h"

#include <gtest/gtest.h>

#include <string>

#include "imaging/exif.h"

namespace pictavo::imaging {
namespace {

// A 3 x 2 picture stored as
//   a b c
//   d e f
// drawn upright, as rows of letters.
std::string uprightOf(int orientation) {
    UprightWriter writer(orientationFromTag(orientation), 3, 2);
    const Pixel row0[] = {'a', 'b', 'c'};
    const Pixel row1[] = {'d', 'e', 'f'};
    writer.writeRow(0, 0, row0);
    writer.writeRow(1, 0, row1);
    const Image image = writer.take();
    std::string text;
    for (int y = 0; y < image.height; ++y) {
        if (y > 0) text += '/';
        for (int x = 0; x < image.width; ++x) text += static_cast<char>(image.at(x, y));
    }
    return text;
}

TEST(UprightWriter, PlacesStoredPixelsByEachOrientation) {
    EXPECT_EQ(uprightOf(1), "abc/def");
    EXPECT_EQ(uprightOf(2), "cba/fed");
    EXPECT_EQ(uprightOf(3), "fed/cba");
    EXPECT_EQ(uprightOf(4), "def/abc");
    EXPECT_EQ(uprightOf(5), "ad/be/cf");
    EXPECT_EQ(uprightOf(6), "da/eb/fc");
    EXPECT_EQ(uprightOf(7), "fc/eb/da");
    EXPECT_EQ(uprightOf(8), "cf/be/ad");
    EXPECT_EQ(uprightOf(0), "abc/def");  // unknown values are upright
    EXPECT_EQ(uprightOf(9), "abc/def");
}

TEST(UprightWriter, KeepsOnlyTheWindowAndSaysWhereItLies) {
    // Stored 4 x 3, turned clockwise: upright 3 x 4; keep its 2 x 2 at (1, 1).
    UprightWriter writer(Orientation::NeedsClockwiseTurn, 4, 3, Rect{1, 1, 2, 2});
    // Upright (x, y) is stored (y, 2 - x): the window covers stored
    // columns 1 and 2 of rows 0 and 1.
    EXPECT_EQ(writer.storedWindow(), (Rect{1, 0, 2, 2}));
    for (int y = 0; y < 3; ++y) {
        const Pixel row[] = {Pixel(10 * y), Pixel(10 * y + 1), Pixel(10 * y + 2),
                             Pixel(10 * y + 3)};
        writer.writeRow(y, 0, row);
    }
    const Image image = writer.take();
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.fullWidth, 3);
    EXPECT_EQ(image.fullHeight, 4);
    EXPECT_EQ(image.originX, 1);
    EXPECT_EQ(image.at(0, 0), 11u);  // upright (1, 1) = stored (1, 1)
    EXPECT_EQ(image.at(1, 0), 1u);   // upright (2, 1) = stored (1, 0)
    EXPECT_EQ(image.at(0, 1), 12u);
    EXPECT_EQ(image.at(1, 1), 2u);
}

TEST(UprightWriter, RowsStartingInsideTheWindowAreClipped) {
    UprightWriter writer(Orientation::Upright, 10, 1, Rect{3, 0, 4, 1});
    const Pixel part[] = {1, 2, 3, 4, 5};
    writer.writeRow(0, 5, part);  // stored columns 5 to 9; 5 and 6 are kept
    writer.writeRow(1, 0, part);  // below the picture: ignored
    EXPECT_EQ(writer.directRow(0), nullptr);
    const Image image = writer.take();
    EXPECT_EQ(image.at(1, 0), rgb(0, 0, 0));
    EXPECT_EQ(image.at(2, 0), 1u);
    EXPECT_EQ(image.at(3, 0), 2u);
}

TEST(CentredWindow, FollowsThePlacementRounding) {
    // 2000 x 1500 on 1024 x 768: drawn at -488, -366.
    EXPECT_EQ(centredWindow(2000, 1500, 1024, 768), (Rect{488, 366, 1024, 768}));
    // -488.5 goes to -488, -489.5 to -490.
    EXPECT_EQ(centredWindow(2001, 100, 1024, 768).x, 488);
    EXPECT_EQ(centredWindow(2003, 100, 1024, 768).x, 490);
    // Smaller than the screen: all of it; no target: all of it.
    EXPECT_EQ(centredWindow(801, 600, 1024, 768), (Rect{0, 0, 801, 600}));
    EXPECT_EQ(centredWindow(801, 600, 0, 0), (Rect{0, 0, 801, 600}));
    EXPECT_EQ(centredWindow(3000, 100, 1024, 768), (Rect{988, 0, 1024, 100}));
}

std::vector<uint8_t> exifBlock(bool bigEndian, uint16_t type, uint32_t value) {
    auto u16 = [&](uint16_t v) -> std::vector<uint8_t> {
        return bigEndian ? std::vector<uint8_t>{uint8_t(v >> 8), uint8_t(v)}
                         : std::vector<uint8_t>{uint8_t(v), uint8_t(v >> 8)};
    };
    std::vector<uint8_t> b = {'E', 'x', 'i', 'f', 0, 0};
    auto add = [&](std::vector<uint8_t> part) { b.insert(b.end(), part.begin(), part.end()); };
    add(bigEndian ? std::vector<uint8_t>{'M', 'M'} : std::vector<uint8_t>{'I', 'I'});
    add(u16(42));
    add(bigEndian ? std::vector<uint8_t>{0, 0, 0, 8} : std::vector<uint8_t>{8, 0, 0, 0});
    add(u16(2));
    add(u16(0x010F));  // the camera's maker comes first
    add(u16(2));
    add({0, 0, 0, 0, 0, 0, 0, 0});
    add(u16(0x0112));
    add(u16(type));
    add(bigEndian ? std::vector<uint8_t>{0, 0, 0, 1} : std::vector<uint8_t>{1, 0, 0, 0});
    if (type == 3) {
        add(u16(static_cast<uint16_t>(value)));
        add({0, 0});
    } else {
        add(u16(static_cast<uint16_t>(bigEndian ? 0 : value)));
        add(u16(static_cast<uint16_t>(bigEndian ? value : 0)));
    }
    return b;
}

TEST(ExifOrientation, ReadsTheTagInEitherByteOrder) {
    EXPECT_EQ(exifOrientation(exifBlock(true, 3, 6)), Orientation::NeedsClockwiseTurn);
    EXPECT_EQ(exifOrientation(exifBlock(false, 3, 8)), Orientation::NeedsAnticlockwiseTurn);
    EXPECT_EQ(exifOrientation(exifBlock(false, 4, 3)), Orientation::Rotated180);
}

TEST(ExifOrientation, DamagedOrForeignBlocksAreUpright) {
    auto block = exifBlock(true, 3, 6);
    block[6] = 'X';
    EXPECT_EQ(exifOrientation(block), Orientation::Upright);
    block = exifBlock(true, 3, 6);
    for (size_t cut = 0; cut + 2 < block.size(); ++cut) {  // the last two bytes are padding
        EXPECT_EQ(exifOrientation(std::span(block).first(cut)), Orientation::Upright) << cut;
    }
    block = exifBlock(true, 3, 6);
    block[13] = 0xFF;  // IFD offset far beyond the block
    EXPECT_EQ(exifOrientation(block), Orientation::Upright);
    EXPECT_EQ(exifOrientation(exifBlock(true, 3, 40)), Orientation::Upright);
    const std::vector<uint8_t> xmp = {'h', 't', 't', 'p', ':', '/', '/'};
    EXPECT_EQ(exifOrientation(xmp), Orientation::Upright);
}

}  // namespace
}  // namespace pictavo::imaging
