#include "adapters/imagelibs/png_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

#include "imaging/tool_pictures.h"

namespace pictavo::imaging::testing {
namespace {

uint32_t crc32(std::span<const uint8_t> bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

class PngDecoderTest : public ScratchFolderTest {
  protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        if (!haveTool("pnmtopng") || !haveTool("pngtopnm")) GTEST_SKIP() << "netpbm absent";
    }

    // netpbm's own reading, transparent parts mixed onto black.
    Image reference(const std::string& png) {
        EXPECT_TRUE(
            run("pngtopnm -mix -background=black " + quoted(png) + " > " + quoted("ref.pnm")));
        return readPnm(file("ref.pnm"));
    }

    std::unique_ptr<Decoder> decoder = platform::makePngDecoder();
};

struct PngCase {
    const char* name;
    const char* makeSource;  // shell command writing source.pnm (and alpha.pgm)
    const char* options;     // for pnmtopng
    int bitDepth;            // what the file must hold, from its IHDR
    int colourType;
};

class PngKindsTest : public PngDecoderTest, public ::testing::WithParamInterface<PngCase> {};

TEST_P(PngKindsTest, DecodesAsNetpbmDoes) {
    const PngCase& c = GetParam();
    writePpm(file("pattern.ppm"), testPattern(37, 29));
    const std::string inFolder = "cd '" + file("").string() + "' && ";
    ASSERT_TRUE(run(inFolder + c.makeSource));
    ASSERT_TRUE(run(inFolder + "pnmtopng " + c.options + " source.pnm > t.png"));
    const auto bytes = readBytes(file("t.png"));
    ASSERT_GT(bytes.size(), 26u);
    EXPECT_EQ(bytes[24], c.bitDepth);
    EXPECT_EQ(bytes[25], c.colourType);
    if (std::string_view(c.name).ends_with("Transparent")) {
        const std::string_view chunk = "tRNS";
        EXPECT_NE(std::search(bytes.begin(), bytes.end(), chunk.begin(), chunk.end()), bytes.end());
    }

    auto image = decodeBytes(*decoder, bytes, "t.png");
    ASSERT_TRUE(image.ok()) << image.error().message;
    EXPECT_LE(maxDifference(*image, reference("t.png")), 1);
    for (Pixel p : image->pixels) ASSERT_EQ(p >> 24, 0xFFu);
}

// The alpha mask: a gradient across the picture.
#define ALPHA "pgmramp -lr 37 29 > alpha.pgm && "

INSTANTIATE_TEST_SUITE_P(
    AllKinds, PngKindsTest,
    ::testing::Values(
        PngCase{"Grey1", "pamditherbw pattern.ppm | pamtopnm > source.pnm", "", 1, 0},
        PngCase{"Grey2", "ppmtopgm pattern.ppm | pnmdepth 3 > source.pnm", "", 2, 0},
        PngCase{"Grey8", "ppmtopgm pattern.ppm > source.pnm", "", 8, 0},
        PngCase{"Grey16", "ppmtopgm pattern.ppm | pnmdepth 65535 | pamfunc -adder=1 > source.pnm",
                "", 16, 0},
        PngCase{"Rgb8", "cp pattern.ppm source.pnm", "-force", 8, 2},
        PngCase{"Rgb16", "pnmdepth 65535 pattern.ppm | pamfunc -adder=1 > source.pnm", "", 16, 2},
        PngCase{"Palette", "pnmquant 16 pattern.ppm > source.pnm", "", 4, 3},
        PngCase{"PaletteTransparent", "pnmquant 16 pattern.ppm > source.pnm",
                "-transparent rgb:00/00/00", 4, 3},
        PngCase{"GreyTransparent", "ppmtopgm pattern.ppm > source.pnm", "-transparent rgb:80/80/80",
                8, 0},
        PngCase{"RgbTransparent", "cp pattern.ppm source.pnm", "-force -transparent rgb:80/80/80",
                8, 2},
        PngCase{"GreyAlpha", ALPHA "ppmtopgm pattern.ppm > source.pnm", "-alpha alpha.pgm", 8, 4},
        PngCase{"RgbAlpha", ALPHA "cp pattern.ppm source.pnm", "-alpha alpha.pgm", 8, 6},
        PngCase{"RgbAlpha16",
                ALPHA
                "pnmdepth 65535 pattern.ppm | pamfunc -adder=1 > source.pnm && "
                "pnmdepth 65535 alpha.pgm | pamfunc -adder=1 > a16.pgm && mv a16.pgm alpha.pgm",
                "-alpha alpha.pgm", 16, 6},
        PngCase{"Interlaced", "cp pattern.ppm source.pnm", "-force -interlace", 8, 2},
        PngCase{"InterlacedPalette", "pnmquant 8 pattern.ppm > source.pnm", "-interlace", 4, 3}),
    [](const auto& kind) { return std::string(kind.param.name); });

TEST_F(PngDecoderTest, DecodesTheSamplePicture) {
    const auto path = sample("hopper.png");
    if (!path) GTEST_SKIP() << "samples absent";
    const auto bytes = readBytes(*path);
    auto image = decodeBytes(*decoder, bytes, "hopper.png");
    ASSERT_TRUE(image.ok()) << image.error().message;
    EXPECT_EQ(maxDifference(*image, reference(path->string())), 0);
}

TEST_F(PngDecoderTest, DecodesOnlyTheWindowOfACentredPicture) {
    writePpm(file("source.pnm"), testPattern(101, 80));
    ASSERT_TRUE(run("pnmtopng -force " + quoted("source.pnm") + " > " + quoted("t.png")));
    auto image = decodeBytes(*decoder, readBytes(file("t.png")), "", Target::centre(40, 30));
    ASSERT_TRUE(image.ok()) << image.error().message;
    // (40 - 101) / 2 = -30.5 rounds to -30; (30 - 80) / 2 = -25.
    EXPECT_EQ(image->originX, 30);
    EXPECT_EQ(image->originY, 25);
    EXPECT_EQ(image->fullWidth, 101);
    EXPECT_EQ(maxDifference(*image, crop(reference("t.png"), 30, 25, 40, 30)), 0);
}

TEST_F(PngDecoderTest, DamagedFilesGiveErrors) {
    writePpm(file("source.pnm"), testPattern(64, 64));
    ASSERT_TRUE(run("pnmtopng -force " + quoted("source.pnm") + " > " + quoted("t.png")));
    const auto bytes = readBytes(file("t.png"));

    const std::vector<uint8_t> half(bytes.begin(),
                                    bytes.begin() + static_cast<long>(bytes.size() / 2));
    auto image = decodeBytes(*decoder, half);
    ASSERT_FALSE(image.ok());
    EXPECT_EQ(image.error().message, "file is truncated");

    auto badCrc = bytes;
    badCrc[20] ^= 0x55;  // inside IHDR: its checksum no longer holds
    image = decodeBytes(*decoder, badCrc);
    ASSERT_FALSE(image.ok());
    EXPECT_NE(image.error().message.find("PNG"), std::string::npos) << image.error().message;

    auto huge = bytes;  // 100000 x 64, with the checksum mended
    huge[16] = 0;
    huge[17] = 0x01;
    huge[18] = 0x86;
    huge[19] = 0xA0;
    const uint32_t crc = crc32(std::span(huge).subspan(12, 17));
    for (int i = 0; i < 4; ++i) huge[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    image = decodeBytes(*decoder, huge);
    ASSERT_FALSE(image.ok());
    EXPECT_EQ(image.error().message, "picture too large: 100000 x 64");
    EXPECT_EQ(decoder->sniff(bytes, "x.jpg"), Confidence::Strong);
    EXPECT_EQ(decoder->sniff(half, ""), Confidence::Strong);
    EXPECT_EQ(decoder->sniff(std::vector<uint8_t>{'G', 'I', 'F'}, "x.png"), Confidence::None);
}

}  // namespace
}  // namespace pictavo::imaging::testing
