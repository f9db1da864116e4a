#include "adapters/imagelibs/tiff_decoder.h"

#include <gtest/gtest.h>

#include "adapters/imagelibs/png_decoder.h"
#include "adapters/imagelibs/system_decoders.h"
#include "imaging/decoders/gem_img.h"
#include "imaging/decoders/photo_cd.h"
#include "imaging/tool_pictures.h"

namespace pictavo::imaging::testing {
namespace {

class TiffDecoderTest : public ScratchFolderTest {
  protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        if (!haveTool("gm") || !haveTool("tiffcp"))
            GTEST_SKIP() << "GraphicsMagick or libtiff tools absent";
    }

    // GraphicsMagick's reading of the first page; options go before the output.
    Image reference(const std::filesystem::path& tiff, const std::string& options = "") {
        EXPECT_TRUE(run("gm convert '" + tiff.string() + "[0]' " + options +
                        " -depth 8 ppm:" + quoted("ref.ppm")));
        return readPnm(file("ref.ppm"));
    }

    Result<Image> decodeFile(const std::filesystem::path& path, const Target& target = {}) {
        return decodeBytes(*decoder, readBytes(path), path.filename().string(), target);
    }

    // The test pattern as an uncompressed TIFF in strips of seven rows.
    std::filesystem::path makeTiff(int width, int height, const std::string& name = "made.tif") {
        writePpm(file("made.ppm"), testPattern(width, height));
        EXPECT_TRUE(run("pnmtotiff -rowsperstrip 7 " + quoted("made.ppm") + " > " + quoted(name)));
        return file(name);
    }

    std::unique_ptr<Decoder> decoder = platform::makeTiffDecoder();
};

TEST_F(TiffDecoderTest, DecodesTheSamplesAsGraphicsMagickDoes) {
    for (const char* name : {"tif/16bit.deflate.tif", "tif/copyleft.tiff", "tif/hopper_g4.tif",
                             "tif/hopper_gray_4bpp.tif", "tif/pil168.tif", "tif/multipage.tiff",
                             "tif/g4-multi.tiff"}) {
        SCOPED_TRACE(name);
        const auto path = sample(name);
        if (!path) GTEST_SKIP() << "samples absent";
        auto image = decodeFile(*path);
        ASSERT_TRUE(image.ok()) << image.error().message;
        EXPECT_LE(maxDifference(*image, reference(*path)), 1);
    }
}

TEST_F(TiffDecoderTest, ReadsFaxWithReversedBitOrder) {
    const auto tiff = sample("tif/g4-fillorder-test.tif");
    const auto png = sample("tif/g4-fillorder-test.png");
    if (!tiff || !png) GTEST_SKIP() << "samples absent";
    auto image = decodeFile(*tiff);
    ASSERT_TRUE(image.ok()) << image.error().message;
    auto expected = decodeBytes(*platform::makePngDecoder(), readBytes(*png));
    ASSERT_TRUE(expected.ok());
    EXPECT_EQ(maxDifference(*image, *expected), 0);
    EXPECT_EQ(image->sourceBits, 1);
}

TEST_F(TiffDecoderTest, TurnsThePictureUprightByItsOrientationTag) {
    const auto path = sample("tif/g4_orientation_6.tif");
    if (!path) GTEST_SKIP() << "samples absent";
    auto image = decodeFile(*path);
    ASSERT_TRUE(image.ok()) << image.error().message;
    const Image stored = reference(*path);
    EXPECT_EQ(image->width, stored.height);
    EXPECT_EQ(image->height, stored.width);
    EXPECT_EQ(maxDifference(*image, reference(*path, "-auto-orient")), 0);
}

// However the rows are stored (strips of any height, tiles with ragged
// edges, planes apart, compressed or not, a strip too big to hold decoded),
// the picture is the same.
TEST_F(TiffDecoderTest, EveryLayoutGivesTheSamePicture) {
    const Image pattern = testPattern(300, 203);
    const auto source = makeTiff(300, 203, "source.tif");
    for (const std::string options :
         {"-r 1", "-r 16 -c lzw", "-r 1000 -c zip", "-r 5 -c packbits", "-t -w 64 -l 32",
          "-t -w 16 -l 16 -c zip", "-p separate -r 9", "-p separate -t -w 32 -l 48 -c lzw",
          "-p separate -r 1000 -c zip"}) {
        SCOPED_TRACE(options);
        ASSERT_TRUE(
            run("tiffcp " + options + " " + quoted("source.tif") + " " + quoted("out.tif")));
        auto image = decodeFile(file("out.tif"));
        ASSERT_TRUE(image.ok()) << image.error().message;
        EXPECT_EQ(maxDifference(*image, pattern), 0);
        // The window of a centred picture from the same layout.
        auto window = decodeFile(file("out.tif"), Target::centre(70, 50));
        ASSERT_TRUE(window.ok()) << window.error().message;
        EXPECT_EQ(maxDifference(*window, crop(pattern, window->originX, window->originY, 70, 50)),
                  0);
    }
    ASSERT_TRUE(run("tiffcp -c jpeg -r 16 " + quoted("source.tif") + " " + quoted("jpeg.tif")));
    auto jpeg = decodeFile(file("jpeg.tif"));
    ASSERT_TRUE(jpeg.ok()) << jpeg.error().message;
    EXPECT_LT(meanDifference(*jpeg, pattern), 4.0);
}

// One deflated strip bigger than what is decoded at once: read a row at a
// time, in interleaved samples, grey and at 16 bits a sample alike.
TEST_F(TiffDecoderTest, StripTooBigToHoldIsReadByRows) {
    const Image pattern = testPattern(2100, 2000);
    writePpm(file("big.ppm"), pattern);
    ASSERT_TRUE(
        run("pnmtotiff -lzw -rowsperstrip 2000 " + quoted("big.ppm") + " > " + quoted("big.tif")));
    auto image = decodeFile(file("big.tif"));
    ASSERT_TRUE(image.ok()) << image.error().message;
    EXPECT_EQ(maxDifference(*image, pattern), 0);
    auto window = decodeFile(file("big.tif"), Target::centre(100, 80));
    ASSERT_TRUE(window.ok()) << window.error().message;
    EXPECT_EQ(maxDifference(*window, crop(pattern, window->originX, window->originY, 100, 80)), 0);

    ASSERT_TRUE(run("gm convert " + quoted("big.ppm") + " -depth 16 -compress zip " +
                    quoted("deep.tif") + " && tiffcp -r 5000 -c zip " + quoted("deep.tif") + " " +
                    quoted("deep1.tif")));
    auto deep = decodeFile(file("deep1.tif"));
    ASSERT_TRUE(deep.ok()) << deep.error().message;
    EXPECT_LE(maxDifference(*deep, pattern), 1);

    // Separate planes in strips this big would be decoded again for every
    // row: refused with a reason.
    ASSERT_TRUE(
        run("tiffcp -p separate -r 5000 -c zip " + quoted("big.tif") + " " + quoted("planes.tif")));
    auto planes = decodeFile(file("planes.tif"));
    ASSERT_FALSE(planes.ok());
    EXPECT_EQ(planes.error().message, "cannot read TIFF file: strips of separate planes too large");
}

TEST_F(TiffDecoderTest, DecodesOnlyTheWindowOfACentredPicture) {
    const auto path = makeTiff(90, 61);
    auto whole = decodeFile(path);
    ASSERT_TRUE(whole.ok()) << whole.error().message;
    EXPECT_EQ(maxDifference(*whole, testPattern(90, 61)), 0);

    // (40 - 90) / 2 = -25; (20 - 61) / 2 = -20.5 rounds to -20.
    auto window = decodeFile(path, Target::centre(40, 20));
    ASSERT_TRUE(window.ok()) << window.error().message;
    EXPECT_EQ(window->originX, 25);
    EXPECT_EQ(window->originY, 20);
    EXPECT_EQ(window->fullHeight, 61);
    EXPECT_EQ(maxDifference(*window, crop(*whole, 25, 20, 40, 20)), 0);
}

TEST_F(TiffDecoderTest, TurnedWindowComesFromTheUprightPicture) {
    if (!haveTool("tiffset")) GTEST_SKIP() << "tiffset absent";
    for (int orientation = 2; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const auto path = makeTiff(50, 31);
        ASSERT_TRUE(
            run("tiffset -s 274 " + std::to_string(orientation) + " '" + path.string() + "'"));
        auto whole = decodeFile(path);
        ASSERT_TRUE(whole.ok()) << whole.error().message;
        EXPECT_EQ(maxDifference(*whole, reference(path, "-auto-orient")), 0);
        auto window = decodeFile(path, Target::centre(20, 16));
        ASSERT_TRUE(window.ok()) << window.error().message;
        EXPECT_EQ(maxDifference(*window, crop(*whole, window->originX, window->originY, 20, 16)),
                  0);
        // (20 - 50) / 2 = -15; (20 - 31) / 2 = -5.5 rounds to -6.
        EXPECT_EQ(window->originX, whole->width == 50 ? 15 : 6);
    }
}

TEST_F(TiffDecoderTest, FaxPagesAreFoundByContentWhateverTheirName) {
    const auto source = sample("tif/hopper_g4.tif");
    if (!source) GTEST_SKIP() << "samples absent";
    ASSERT_TRUE(run("tiffcp -c g3 -f lsb2msb '" + source->string() + "' " + quoted("page.fmf")));
    ASSERT_TRUE(run("tiffinfo " + quoted("page.fmf") + " | grep -q 'FillOrder: lsb-to-msb'"));
    ASSERT_TRUE(run("tiffinfo " + quoted("page.fmf") + " | grep -q 'CCITT Group 3'"));
    const auto bytes = readBytes(file("page.fmf"));

    DecoderList all = platform::systemDecoders();
    all.push_back(makeGemImgDecoder());
    all.push_back(makePhotoCdDecoder());
    for (const auto& candidate : all) {
        EXPECT_EQ(candidate->sniff(bytes, "page.fmf"),
                  candidate->name() == "TIFF" ? Confidence::Strong : Confidence::None)
            << candidate->name();
    }
    auto page = decodeBytes(*decoder, bytes, "page.fmf");
    ASSERT_TRUE(page.ok()) << page.error().message;
    auto original = decodeFile(*source);
    ASSERT_TRUE(original.ok());
    EXPECT_EQ(maxDifference(*page, *original), 0);
}

TEST_F(TiffDecoderTest, DamagedFilesGiveErrors) {
    for (const char* name :
         {"malformed/tif-crash-2020-10-test.tif", "malformed/tif-libtiff_segfault.tif",
          "malformed/tif-oom-225817ca0f8c663be7ab4b9e717b02c661e66834.tif",
          "malformed/tif-seek_too_large.tif"}) {
        SCOPED_TRACE(name);
        const auto path = sample(name);
        if (!path) GTEST_SKIP() << "samples absent";
        auto image = decodeFile(*path);
        ASSERT_FALSE(image.ok());
        EXPECT_FALSE(image.error().message.empty());
    }
    auto bytes = readBytes(makeTiff(64, 64));
    bytes.resize(bytes.size() / 2);  // strips at the end are cut off
    EXPECT_FALSE(decodeBytes(*decoder, bytes).ok());
    EXPECT_FALSE(decodeBytes(*decoder, {'I', 'I', 42, 0}).ok());
}

}  // namespace
}  // namespace pictavo::imaging::testing
