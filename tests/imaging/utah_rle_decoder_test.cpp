// The Utah RLE decoder against files netpbm writes and reads back, and a
// hand-made palette file.

#include <gtest/gtest.h>

#include "bmp_writer.h"
#include "decode_helpers.h"
#include "imaging/decoder_choice.h"
#include "imaging/decoders/own_decoders.h"
#include "imaging/decoders/utah_rle.h"
#include "imaging/source_pictures.h"

namespace pictavo::imaging::testing {
namespace {

class UtahRleWrittenByNetpbm : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!toolAvailable("pnmtorle") || !toolAvailable("rletopnm")) GTEST_SKIP() << "no netpbm";
        writePpm(temp_ / "source.ppm", pattern_);
    }

    Image decoded(const std::string& name) {
        auto image = decodeFile(*makeUtahRleDecoder(), temp_ / name);
        EXPECT_TRUE(image.ok()) << name << ": " << image.error().message;
        return image ? std::move(image).value() : Image();
    }

    std::string file(const std::string& name) const { return "'" + (temp_ / name).string() + "'"; }

    Image pattern_ = testPattern(71, 33);
    TempDir temp_;
};

TEST_F(UtahRleWrittenByNetpbm, ColourAndGrey) {
    ASSERT_TRUE(run("pnmtorle " + file("source.ppm") + " > " + file("colour.rle")));
    EXPECT_EQ(differences(pattern_, decoded("colour.rle")), "");
    EXPECT_EQ(decoded("colour.rle").sourceBits, 24);

    ASSERT_TRUE(run("ppmtopgm " + file("source.ppm") + " > " + file("grey.pgm")));
    ASSERT_TRUE(run("pnmtorle " + file("grey.pgm") + " > " + file("grey.rle")));
    const auto grey = readWithNetpbm("rletopnm", temp_ / "grey.rle", temp_);
    ASSERT_TRUE(grey);
    EXPECT_EQ(differences(*grey, decoded("grey.rle")), "");
    EXPECT_EQ(differences(*readNetpbm(temp_ / "grey.pgm"), decoded("grey.rle")), "");
}

TEST_F(UtahRleWrittenByNetpbm, RunsOfOneColour) {
    const Image bands = greenWhiteBands();
    writePpm(temp_ / "bands.ppm", bands);
    ASSERT_TRUE(run("pnmtorle " + file("bands.ppm") + " > " + file("bands.rle")));
    EXPECT_EQ(differences(bands, decoded("bands.rle")), "");
}

// One channel through a three-channel map: a palette of 16-bit entries
// whose high bytes are the colours.
std::vector<uint8_t> paletteFile() {
    std::vector<uint8_t> f = {0x52, 0xCC, 0, 0, 0, 0, 3, 0, 2, 0,  // magic, position, 3 x 2
                              0x02, 1,    8, 3, 1,  // no background; 1 channel; map 3 x 2^1
                              0};                   // filler
    for (int entry : {0x1100, 0xFF00, 0x2200, 0x0000, 0x3300, 0x8000}) {  // red, green, blue maps
        f.push_back(static_cast<uint8_t>(entry));
        f.push_back(static_cast<uint8_t>(entry >> 8));
    }
    const std::vector<uint8_t> ops = {2, 0,              // channel 0
                                      5, 2, 0, 1, 0, 0,  // bytes 0 1 0 (+ pad): the bottom row
                                      1, 1,              // next line
                                      6, 2, 1, 0,        // a run of three 1s: the top row
                                      7, 0};             // end
    f.insert(f.end(), ops.begin(), ops.end());
    return f;
}

TEST(UtahRle, PaletteThroughTheColourMap) {
    auto image = decodeWith(*makeUtahRleDecoder(), paletteFile());
    ASSERT_TRUE(image.ok()) << image.error().message;
    ASSERT_EQ(image->width, 3);
    ASSERT_EQ(image->height, 2);
    const Pixel zero = rgb(0x11, 0x22, 0x33);
    const Pixel one = rgb(0xFF, 0x00, 0x80);
    EXPECT_EQ(image->at(0, 1), zero);
    EXPECT_EQ(image->at(1, 1), one);
    EXPECT_EQ(image->at(2, 1), zero);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(image->at(x, 0), one);
}

TEST(UtahRle, EveryCutIsRefusedCleanly) {
    const auto whole = paletteFile();
    for (size_t length = 0; length < whole.size(); ++length) {
        const std::vector<uint8_t> cut(whole.begin(),
                                       whole.begin() + static_cast<std::ptrdiff_t>(length));
        auto result = decodeWith(*makeUtahRleDecoder(), cut);
        EXPECT_FALSE(result.ok()) << length;
    }
}

// ".rle" names both a compressed Windows bitmap and a Utah file: the content decides.
TEST(UtahRle, SharesItsExtensionWithRunLengthBitmaps) {
    const DecoderList decoders = ownDecoders();
    EXPECT_EQ(pickDecoder(decoders, paletteFile(), "picture.rle")->name(), "Utah RLE");
    EXPECT_EQ(pickDecoder(decoders, bitmapFile(Image(4, 4)), "picture.rle")->name(), "BMP");
}

}  // namespace
}  // namespace pictavo::imaging::testing
