#include "imaging/decoders/photo_cd.h"

#include <gtest/gtest.h>

#include "imaging/tool_pictures.h"

namespace pictavo::imaging::testing {
namespace {

class PhotoCdTest : public ScratchFolderTest {
  protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        const auto path = sample("pcd/hopper.pcd");
        if (!path) GTEST_SKIP() << "samples absent";
        pack = readBytes(*path);
    }

    // Halves a picture by averaging each 2 x 2 block.
    static Image halved(const Image& image) {
        Image half(image.width / 2, image.height / 2);
        for (int y = 0; y < half.height; ++y) {
            for (int x = 0; x < half.width; ++x) {
                int sum[3] = {0, 0, 0};
                for (int dy = 0; dy < 2; ++dy) {
                    for (int dx = 0; dx < 2; ++dx) {
                        const Pixel p = image.at(2 * x + dx, 2 * y + dy);
                        sum[0] += red(p), sum[1] += green(p), sum[2] += blue(p);
                    }
                }
                half.at(x, y) =
                    rgb(static_cast<uint8_t>(sum[0] / 4), static_cast<uint8_t>(sum[1] / 4),
                        static_cast<uint8_t>(sum[2] / 4));
            }
        }
        return half;
    }

    std::vector<uint8_t> pack;
    std::unique_ptr<Decoder> decoder = makePhotoCdDecoder();
};

TEST_F(PhotoCdTest, DecodesTheBaseResolutionLikeGraphicsMagick) {
    auto image = decodeBytes(*decoder, pack, "hopper.pcd");
    ASSERT_TRUE(image.ok()) << image.error().message;
    EXPECT_EQ(image->width, 768);
    EXPECT_EQ(image->height, 512);
    EXPECT_EQ(image->fullWidth, 0);
    if (!haveTool("gm")) GTEST_SKIP() << "GraphicsMagick absent";
    // Its colour conversion differs a little from Kodak's formulas.
    ASSERT_TRUE(run("gm convert '" + sample("pcd/hopper.pcd")->string() +
                    "' -depth 8 ppm:" + quoted("ref.ppm")));
    EXPECT_LE(meanDifference(*image, readPnm(file("ref.ppm"))), 6.0);
}

TEST_F(PhotoCdTest, PackWrittenFromAPictureShowsThatPicture) {
    if (!haveTool("gm")) GTEST_SKIP() << "GraphicsMagick absent";
    writePpm(file("source.ppm"), testPattern(768, 512));
    ASSERT_TRUE(run("gm convert " + quoted("source.ppm") + " " + quoted("made.pcd")));
    auto image = decodeBytes(*decoder, readBytes(file("made.pcd")), "made.pcd");
    ASSERT_TRUE(image.ok()) << image.error().message;
    // The round trip through PhotoYCC and half-resolution chroma loses the
    // pattern's fine colour detail (GraphicsMagick's own reading is off by
    // 14.4 on average); swapped channels or a wrong offset are off by far more.
    EXPECT_LE(meanDifference(*image, testPattern(768, 512)), 12.0);
}

TEST_F(PhotoCdTest, ChoosesTheSmallestResolutionThatCoversTheTarget) {
    auto base = decodeBytes(*decoder, pack);
    ASSERT_TRUE(base.ok());
    const Image baseHalf = halved(*base);

    auto quarter = decodeBytes(*decoder, pack, "", Target::atLeast(300, 200));
    ASSERT_TRUE(quarter.ok()) << quarter.error().message;
    EXPECT_EQ(quarter->width, 384);
    EXPECT_EQ(quarter->height, 256);
    EXPECT_EQ(quarter->pictureWidth(), 768);
    EXPECT_EQ(quarter->pictureHeight(), 512);
    EXPECT_LE(meanDifference(*quarter, baseHalf), 6.0);

    auto sixteenth = decodeBytes(*decoder, pack, "", Target::atLeast(192, 128));
    ASSERT_TRUE(sixteenth.ok());
    EXPECT_EQ(sixteenth->width, 192);
    EXPECT_LE(meanDifference(*sixteenth, halved(*quarter)), 6.0);

    auto larger = decodeBytes(*decoder, pack, "", Target::atLeast(1024, 768));
    ASSERT_TRUE(larger.ok());
    EXPECT_EQ(larger->width, 768);
    // A centred picture is shown at its own size: the base, of which only
    // the window on the screen is kept.
    auto centred = decodeBytes(*decoder, pack, "", Target::centre(320, 200));
    ASSERT_TRUE(centred.ok());
    EXPECT_EQ(centred->width, 320);
    EXPECT_EQ(centred->pictureWidth(), 768);
    EXPECT_EQ(centred->at(0, 0), base->at(centred->originX, centred->originY));
}

TEST_F(PhotoCdTest, TurnsPortraitPicturesUpright) {
    auto landscape = decodeBytes(*decoder, pack);
    ASSERT_TRUE(landscape.ok());
    const Image& l = *landscape;
    struct Case {
        uint8_t bits;
        int width;
        // Where upright pixel (x, y) comes from in the stored picture.
        Pixel (*source)(const Image&, int, int);
    };
    const Case cases[] = {
        {1, 512, [](const Image& s, int x, int y) { return s.at(s.width - 1 - y, x); }},
        {2, 768,
         [](const Image& s, int x, int y) { return s.at(s.width - 1 - x, s.height - 1 - y); }},
        {3, 512, [](const Image& s, int x, int y) { return s.at(y, s.height - 1 - x); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int{c.bits});
        auto turned = pack;
        turned[0x0E02] = static_cast<uint8_t>((turned[0x0E02] & ~3) | c.bits);
        auto image = decodeBytes(*decoder, turned);
        ASSERT_TRUE(image.ok());
        ASSERT_EQ(image->width, c.width);
        for (int y = 0; y < image->height; y += 37) {
            for (int x = 0; x < image->width; x += 29)
                ASSERT_EQ(image->at(x, y), c.source(l, x, y));
        }
        // Turned, a 250 x 380 target needs Base/4 (256 x 384).
        image = decodeBytes(*decoder, turned, "", Target::atLeast(250, 380));
        ASSERT_TRUE(image.ok());
        EXPECT_EQ(image->width, c.bits == 2 ? 768 : 256);
    }
}

TEST_F(PhotoCdTest, DamagedPacksGiveErrors) {
    EXPECT_EQ(decoder->sniff(pack, "x.jpg"), Confidence::Strong);
    std::vector<uint8_t> cut(pack.begin(), pack.begin() + 300000);
    auto image = decodeBytes(*decoder, cut);
    ASSERT_FALSE(image.ok());
    EXPECT_EQ(image.error().message, "file is truncated");
    // The small resolutions lie before the cut.
    EXPECT_TRUE(decodeBytes(*decoder, cut, "", Target::atLeast(100, 60)).ok());

    auto notPcd = pack;
    notPcd[2048] = 'X';
    EXPECT_EQ(decoder->sniff(notPcd, "x.pcd"), Confidence::None);
    EXPECT_FALSE(decodeBytes(*decoder, notPcd).ok());
    EXPECT_FALSE(
        decodeBytes(*decoder, std::vector<uint8_t>(pack.begin(), pack.begin() + 2055)).ok());
}

}  // namespace
}  // namespace pictavo::imaging::testing
