#include "adapters/imagelibs/jpeg_decoder.h"

#include <gtest/gtest.h>

#include "imaging/orientation.h"
#include "imaging/source_pictures.h"
#include "imaging/tool_pictures.h"

namespace pictavo::imaging::testing {
namespace {

class JpegDecoderTest : public ScratchFolderTest {
  protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        if (!haveTool("cjpeg") || !haveTool("djpeg") || !haveTool("jpegtran")) {
            GTEST_SKIP() << "libjpeg-turbo's tools are not installed";
        }
    }

    // Writes the test pattern as a JPEG; extra are cjpeg's options.
    std::vector<uint8_t> makeJpeg(int width, int height, const std::string& extra = "") {
        writePpm(file("source.ppm"), testPattern(width, height));
        EXPECT_TRUE(run("cjpeg -quality 90 " + extra + " -outfile " + quoted("made.jpg") + " " +
                        quoted("source.ppm")));
        return readBytes(file("made.jpg"));
    }

    // What djpeg makes of the bytes, with its options.
    Image djpeg(const std::vector<uint8_t>& bytes, const std::string& options = "") {
        writeBytes(file("in.jpg"), bytes);
        EXPECT_TRUE(run("djpeg -pnm " + options + " -outfile " + quoted("out.pnm") + " " +
                        quoted("in.jpg")));
        return readPnm(file("out.pnm"));
    }

    std::unique_ptr<Decoder> decoder = platform::makeJpegDecoder();
};

TEST_F(JpegDecoderTest, DecodesTheSamplePhotoAsDjpegDoes) {
    const auto path = sample("hopper.jpg");
    if (!path) GTEST_SKIP() << "samples absent";
    const auto bytes = readBytes(*path);
    auto image = decodeBytes(*decoder, bytes, "hopper.jpg");
    ASSERT_TRUE(image.ok()) << image.error().message;
    EXPECT_EQ(maxDifference(*image, djpeg(bytes)), 0);
    EXPECT_EQ(image->fullWidth, 0);
    EXPECT_EQ(image->sourceBits, 24);
}

TEST_F(JpegDecoderTest, DecodesGreyAndProgressiveFiles) {
    const auto grey = makeJpeg(120, 90, "-grayscale");
    auto image = decodeBytes(*decoder, grey);
    ASSERT_TRUE(image.ok()) << image.error().message;
    EXPECT_EQ(maxDifference(*image, djpeg(grey)), 0);
    EXPECT_EQ(image->sourceBits, 8);

    const auto progressive = makeJpeg(120, 90, "-progressive");
    image = decodeBytes(*decoder, progressive);
    ASSERT_TRUE(image.ok()) << image.error().message;
    EXPECT_EQ(maxDifference(*image, djpeg(progressive)), 0);
}

TEST_F(JpegDecoderTest, DecodesAtTheSmallestEighthThatCoversTheTarget) {
    const auto bytes = makeJpeg(800, 600);
    // 800 x 600 to cover 300 x 200: 3/8 gives 300 x 225, 2/8 would give 200 x 150.
    auto image = decodeBytes(*decoder, bytes, "", Target::atLeast(300, 200));
    ASSERT_TRUE(image.ok()) << image.error().message;
    EXPECT_EQ(image->width, 300);
    EXPECT_EQ(image->height, 225);
    EXPECT_EQ(image->pictureWidth(), 800);
    EXPECT_EQ(image->pictureHeight(), 600);
    EXPECT_EQ(image->originX, 0);
    EXPECT_LE(maxDifference(*image, djpeg(bytes, "-scale 3/8")), 1);

    // A target the picture does not fill is decoded whole.
    image = decodeBytes(*decoder, bytes, "", Target::atLeast(1024, 768));
    ASSERT_TRUE(image.ok());
    EXPECT_EQ(image->width, 800);
    EXPECT_EQ(image->fullWidth, 0);
}

TEST_F(JpegDecoderTest, DecodesOnlyTheWindowOfACentredPicture) {
    for (const char* options : {"", "-progressive", "-sample 1x1"}) {
        SCOPED_TRACE(options);
        // (320 - 801) / 2 = -240.5 rounds to -240; (240 - 603) / 2 = -181.5 to -182.
        const auto bytes = makeJpeg(801, 603, options);
        const Image full = djpeg(bytes);
        auto image = decodeBytes(*decoder, bytes, "", Target::centre(320, 240));
        ASSERT_TRUE(image.ok()) << image.error().message;
        EXPECT_EQ(image->width, 320);
        EXPECT_EQ(image->height, 240);
        EXPECT_EQ(image->fullWidth, 801);
        EXPECT_EQ(image->fullHeight, 603);
        EXPECT_EQ(image->originX, 240);
        EXPECT_EQ(image->originY, 182);
        EXPECT_EQ(maxDifference(*image, crop(full, 240, 182, 320, 240)), 0);
    }
}

TEST_F(JpegDecoderTest, CentredPictureSmallerThanTheWindowIsDecodedWhole) {
    const auto bytes = makeJpeg(200, 100);
    auto image = decodeBytes(*decoder, bytes, "", Target::centre(320, 240));
    ASSERT_TRUE(image.ok());
    EXPECT_EQ(image->width, 200);
    EXPECT_EQ(image->height, 100);
    EXPECT_EQ(image->fullWidth, 0);
}

class JpegOrientationTest : public JpegDecoderTest, public ::testing::WithParamInterface<int> {};

// jpegtran turns the compressed picture losslessly; djpeg of its result is
// what the upright picture must look like.
const char* jpegtranFor(int orientation) {
    switch (orientation) {
        case 2:
            return "-flip horizontal";
        case 3:
            return "-rotate 180";
        case 4:
            return "-flip vertical";
        case 5:
            return "-transpose";
        case 6:
            return "-rotate 90";
        case 7:
            return "-transverse";
        case 8:
            return "-rotate 270";
        default:
            return "";
    }
}

TEST_P(JpegOrientationTest, ShowsThePictureUpright) {
    const int orientation = GetParam();
    // Whole 16 x 16 blocks, so that jpegtran loses nothing.
    const auto plain = makeJpeg(96, 64, "-sample 1x1");
    ASSERT_TRUE(run(std::string("jpegtran ") + jpegtranFor(orientation) + " -perfect -outfile " +
                    quoted("upright.jpg") + " " + quoted("made.jpg")));
    const Image expected = djpeg(readBytes(file("upright.jpg")));
    const auto bytes = withExifOrientation(plain, orientation);

    auto image = decodeBytes(*decoder, bytes);
    ASSERT_TRUE(image.ok()) << image.error().message;
    EXPECT_EQ(image->width, orientation >= 5 ? 64 : 96);
    EXPECT_LE(maxDifference(*image, expected), 2);

    // The window of a centred picture is taken from the upright picture.
    image = decodeBytes(*decoder, bytes, "", Target::centre(40, 30));
    ASSERT_TRUE(image.ok()) << image.error().message;
    const Rect window{image->originX, image->originY, 40, 30};
    EXPECT_EQ(window.x, (expected.width - 40) / 2);
    EXPECT_LE(maxDifference(*image, crop(expected, window.x, window.y, 40, 30)), 2);

    // The scale is chosen for the upright size: to cover 30 x 45, an upright
    // 96 x 64 needs 6/8 (72 x 48), a turned one 4/8 (32 x 48).
    image = decodeBytes(*decoder, bytes, "", Target::atLeast(30, 45));
    ASSERT_TRUE(image.ok());
    EXPECT_EQ(image->width, orientation >= 5 ? 32 : 72);
    EXPECT_EQ(image->height, 48);
    EXPECT_EQ(image->pictureWidth(), expected.width);
}

INSTANTIATE_TEST_SUITE_P(AllEight, JpegOrientationTest, ::testing::Range(1, 9));

TEST_F(JpegDecoderTest, ReadsAdobeCmykFiles) {
    if (!haveTool("gm")) GTEST_SKIP() << "GraphicsMagick absent";
    writePpm(file("source.ppm"), testPattern(64, 48));
    ASSERT_TRUE(
        run("gm convert " + quoted("source.ppm") + " -colorspace CMYK " + quoted("cmyk.jpg")));
    ASSERT_TRUE(run("gm convert " + quoted("cmyk.jpg") +
                    " -colorspace RGB -depth 8 ppm:" + quoted("ref.ppm")));
    auto image = decodeBytes(*decoder, readBytes(file("cmyk.jpg")));
    ASSERT_TRUE(image.ok()) << image.error().message;
    EXPECT_LE(meanDifference(*image, readPnm(file("ref.ppm"))), 2.0);
}

TEST_F(JpegDecoderTest, DamagedFilesGiveErrors) {
    const auto bytes = makeJpeg(160, 120);
    const std::vector<uint8_t> half(bytes.begin(),
                                    bytes.begin() + static_cast<long>(bytes.size() / 2));
    auto image = decodeBytes(*decoder, half);
    ASSERT_FALSE(image.ok());
    EXPECT_EQ(image.error().message, "file is truncated");

    image = decodeBytes(*decoder, {0xFF, 0xD8, 0xFF});
    ASSERT_FALSE(image.ok());
    EXPECT_NE(image.error().message.find("JPEG"), std::string::npos) << image.error().message;

    auto garbage = bytes;
    for (size_t i = 20; i < 600 && i < garbage.size(); ++i)
        garbage[i] = static_cast<uint8_t>(i * 7);
    image = decodeBytes(*decoder, garbage);  // may decode with blotches, must not crash
    EXPECT_FALSE(decodeBytes(*decoder, {}).ok());
}

TEST_F(JpegDecoderTest, KnowsJpegByItsStartOfImageMarker) {
    EXPECT_EQ(decoder->sniff(makeJpeg(16, 16), "photo.png"), Confidence::Strong);
    EXPECT_EQ(decoder->sniff(std::vector<uint8_t>{0x89, 'P', 'N', 'G'}, "photo.jpg"),
              Confidence::None);
}

}  // namespace
}  // namespace pictavo::imaging::testing
