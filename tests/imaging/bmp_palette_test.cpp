// Run-length bitmaps with the common 40-byte header: the palette follows the
// header directly (only bit-field bitmaps put masks there).

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "imaging/decoders/bmp.h"

namespace pictavo::imaging {
namespace {

void put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// A 4 x 2 RLE8 bitmap with a four-colour palette: the bottom row is a run of
// colour 1, the top row the literals 2, 3, 0, 2.
std::vector<uint8_t> smallRle8() {
    const std::vector<uint8_t> pixels = {4, 1, 0, 0, 0, 4, 2, 3, 0, 2, 0, 0, 0, 1};
    const uint32_t paletteBytes = 4 * 4;
    const uint32_t offset = 14 + 40 + paletteBytes;
    std::vector<uint8_t> out = {'B', 'M'};
    put32(out, offset + static_cast<uint32_t>(pixels.size()));
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, 4);
    put32(out, 2);
    put16(out, 1);
    put16(out, 8);
    put32(out, 1);  // RLE8
    put32(out, static_cast<uint32_t>(pixels.size()));
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 4);  // colours used
    put32(out, 0);
    const uint8_t palette[4][4] = {{10, 20, 30, 0}, {40, 50, 60, 0}, {70, 80, 90, 0}, {1, 2, 3, 0}};
    for (const auto& entry : palette) out.insert(out.end(), entry, entry + 4);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

TEST(BmpPalette, RunLengthBitmapsReadThePaletteRightAfterTheHeader) {
    std::vector<uint8_t> bytes = smallRle8();
    auto image = BmpDecoder().decode({bytes, "small.bmp"});
    ASSERT_TRUE(image.ok()) << image.error().message;
    ASSERT_EQ(image->width, 4);
    ASSERT_EQ(image->height, 2);
    // Palette entries are B, G, R.
    EXPECT_EQ(image->at(0, 1), rgb(60, 50, 40));
    EXPECT_EQ(image->at(3, 1), rgb(60, 50, 40));
    EXPECT_EQ(image->at(0, 0), rgb(90, 80, 70));
    EXPECT_EQ(image->at(1, 0), rgb(3, 2, 1));
    EXPECT_EQ(image->at(2, 0), rgb(30, 20, 10));
}

// The demo picture, as ImageMagick, netpbm and GraphicsMagick all read it.
TEST(BmpPalette, DemoPictureMatchesOtherReaders) {
    std::filesystem::path path =
        std::filesystem::path(PICTAVO_SOURCE_DIR) / "samples" / "star-night.bmp";
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file) << path;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), {});
    auto image = BmpDecoder().decode({bytes, "star-night.bmp"});
    ASSERT_TRUE(image.ok()) << image.error().message;
    EXPECT_EQ(image->at(108, 156), rgb(45, 68, 163));
    EXPECT_EQ(image->at(639, 479), rgb(131, 200, 232));
}

}  // namespace
}  // namespace pictavo::imaging
