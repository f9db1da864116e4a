#include "imaging/decoders/gem_img.h"

#include <gtest/gtest.h>

#include "imaging/tool_pictures.h"

namespace pictavo::imaging::testing {
namespace {

// Writes GEM images by hand: a header, then per scan line whatever codes
// the test gives.
class GemWriter {
  public:
    GemWriter(int planes, int width, int height, int patternLength = 2, int headerWords = 8) {
        for (int word : {1, headerWords, planes, patternLength, 85, 85, width, height}) put(word);
    }
    GemWriter& put(int word) {
        bytes.push_back(static_cast<uint8_t>(word >> 8));
        bytes.push_back(static_cast<uint8_t>(word));
        return *this;
    }
    GemWriter& raw(std::initializer_list<int> codes) {
        for (int c : codes) bytes.push_back(static_cast<uint8_t>(c));
        return *this;
    }
    std::vector<uint8_t> bytes;
};

class GemImgTest : public ScratchFolderTest {
  protected:
    std::unique_ptr<Decoder> decoder = makeGemImgDecoder();
};

TEST_F(GemImgTest, DecodesWhatPbmtogemWrites) {
    if (!haveTool("pbmtogem")) GTEST_SKIP() << "netpbm absent";
    // 37 columns: the last byte of each line is partly padding. Equal lines
    // in a row make pbmtogem repeat lines.
    writePpm(file("pattern.ppm"), testPattern(37, 23));
    ASSERT_TRUE(run("pamditherbw " + quoted("pattern.ppm") + " | pamtopnm > " + quoted("a.pbm")));
    ASSERT_TRUE(run("(cat " + quoted("a.pbm") +
                    "; pbmmake -white 37 5 | pamtopnm) | pnmcat -tb > " + quoted("b.pbm")));
    ASSERT_TRUE(run("pbmtogem " + quoted("b.pbm") + " > " + quoted("b.img")));
    auto image = decodeBytes(*decoder, readBytes(file("b.img")), "b.img");
    ASSERT_TRUE(image.ok()) << image.error().message;
    EXPECT_EQ(maxDifference(*image, readPnm(file("b.pbm"))), 0);
    EXPECT_EQ(image->sourceBits, 1);
}

TEST_F(GemImgTest, FourPlanesShowTheDefaultColoursAsGemtopnmDoes) {
    if (!haveTool("gemtopnm")) GTEST_SKIP() << "netpbm absent";
    // 16 pixels of the values 0 to 15, each plane as a bit string.
    GemWriter gem(4, 16, 2);
    for (int line = 0; line < 2; ++line) {
        for (int plane = 0; plane < 4; ++plane) {
            int bits = 0;
            for (int x = 0; x < 16; ++x)
                bits |= ((line == 0 ? x : 15 - x) >> plane & 1) << (15 - x);
            gem.raw({0x80, 2}).put(bits);
        }
    }
    writeBytes(file("c.img"), gem.bytes);
    ASSERT_TRUE(run("gemtopnm " + quoted("c.img") + " > " + quoted("c.ppm")));
    auto image = decodeBytes(*decoder, gem.bytes);
    ASSERT_TRUE(image.ok()) << image.error().message;
    EXPECT_EQ(maxDifference(*image, readPnm(file("c.ppm"))), 0);
    EXPECT_EQ(image->at(0, 0), rgb(255, 255, 255));
    EXPECT_EQ(image->at(15, 0), rgb(0, 0, 0));
}

TEST_F(GemImgTest, RunsPatternsAndRepeatedLines) {
    // One plane, 24 pixels: the next line shown 3 times, holding a black run
    // of one byte and the two-byte pattern AA AA once; then a line of bits.
    GemWriter gem(1, 24, 4);
    gem.raw({0x00, 0x00, 0xFF, 3, 0x81, 0x00, 1, 0xAA, 0xAA});
    gem.raw({0x80, 3, 0x0F, 0xF0, 0x01});
    auto image = decodeBytes(*decoder, gem.bytes);
    ASSERT_TRUE(image.ok()) << image.error().message;
    const Pixel ink = rgb(0, 0, 0), paper = rgb(255, 255, 255);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 8; ++x) EXPECT_EQ(image->at(x, y), ink);
        for (int x = 8; x < 24; ++x) EXPECT_EQ(image->at(x, y), x % 2 == 0 ? ink : paper) << x;
    }
    for (int x = 0; x < 24; ++x) {
        const bool set = (x >= 4 && x < 12) || x == 23;
        EXPECT_EQ(image->at(x, 3), set ? ink : paper) << x;
    }
}

TEST_F(GemImgTest, XimgBringsItsOwnColours) {
    // Two planes, four colours in thousandths: red, 50% grey, blue, white.
    GemWriter gem(2, 8, 1, 2, 11 + 12);
    gem.raw({'X', 'I', 'M', 'G'}).put(0);
    for (int c : {1000, 0, 0, 500, 500, 500, 0, 0, 1000, 1000, 1000, 1000}) gem.put(c);
    gem.raw({0x80, 1, 0b01010101, 0x80, 1, 0b00110011});
    EXPECT_EQ(decoder->sniff(gem.bytes, "x.img"), Confidence::Strong);
    auto image = decodeBytes(*decoder, gem.bytes);
    ASSERT_TRUE(image.ok()) << image.error().message;
    // Plane 0 (the low bit) sets the odd pixels, plane 1 pixels 2, 3, 6 and
    // 7: the values run 0, 1, 2, 3, 0, 1, 2, 3.
    const Pixel expected[4] = {rgb(255, 0, 0), rgb(128, 128, 128), rgb(0, 0, 255),
                               rgb(255, 255, 255)};
    for (int x = 0; x < 8; ++x) EXPECT_EQ(image->at(x, 0), expected[x % 4]) << x;
}

TEST_F(GemImgTest, KnowsPlausibleHeadersWeakly) {
    GemWriter gem(1, 8, 1);
    gem.raw({0x80, 1, 0xFF});
    EXPECT_EQ(decoder->sniff(gem.bytes, "a.img"), Confidence::Weak);
    EXPECT_EQ(decoder->sniff(GemWriter(0, 8, 1).bytes, "a.img"), Confidence::None);
    EXPECT_EQ(decoder->sniff(GemWriter(1, 0, 1).bytes, "a.img"), Confidence::None);
    EXPECT_EQ(decoder->sniff(std::vector<uint8_t>{'B', 'M', 0, 0}, "a.img"), Confidence::None);
}

TEST_F(GemImgTest, DamagedFilesGiveErrors) {
    GemWriter truncated(1, 64, 10);
    truncated.raw({0x80, 8, 1, 2, 3});
    auto image = decodeBytes(*decoder, truncated.bytes);
    ASSERT_FALSE(image.ok());
    EXPECT_EQ(image.error().message, "file is truncated");

    // A huge picture claimed by a few bytes is refused before any memory is taken.
    GemWriter huge(8, 16000, 16000);
    huge.raw({0x00, 0x00, 0xFF, 255, 0x7F});
    image = decodeBytes(*decoder, huge.bytes);
    ASSERT_FALSE(image.ok());
    EXPECT_EQ(image.error().message, "picture too large: 16000 x 16000");

    GemWriter tooWide(1, 20000, 1);
    image = decodeBytes(*decoder, tooWide.bytes);
    ASSERT_FALSE(image.ok());
    EXPECT_EQ(image.error().message, "picture too large: 20000 x 1");

    GemWriter trueColour(24, 8, 1);
    image = decodeBytes(*decoder, trueColour.bytes);
    ASSERT_FALSE(image.ok());
    EXPECT_EQ(image.error().message, "unsupported GEM image: 24 planes");

    GemWriter noPattern(1, 16, 1, 0);
    noPattern.raw({0x00, 2, 0x80, 2, 1, 2});
    EXPECT_FALSE(decodeBytes(*decoder, noPattern.bytes).ok());

    // Runs longer than the line are cut at its end.
    GemWriter longRuns(1, 8, 2);
    longRuns.raw({0xFF, 0x80, 20}).raw(std::initializer_list<int>({1,  2,  3,  4,  5,  6,  7,
                                                                   8,  9,  10, 11, 12, 13, 14,
                                                                   15, 16, 17, 18, 19, 20}));
    image = decodeBytes(*decoder, longRuns.bytes);
    ASSERT_TRUE(image.ok()) << image.error().message;
    EXPECT_EQ(image->at(0, 0), rgb(0, 0, 0));
    EXPECT_EQ(image->at(7, 1), rgb(0, 0, 0));  // 0x01: the last bit of line 2
}

}  // namespace
}  // namespace pictavo::imaging::testing
