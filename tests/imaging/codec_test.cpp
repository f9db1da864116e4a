// The codec as the slide loader drives it: load, compare colour counts,
// reduce with dithering, re-render at the screen's size.

#include <gtest/gtest.h>

#include <array>
#include <set>

#include "bmp_writer.h"
#include "imaging/codec.h"
#include "imaging/colour_reduction.h"
#include "reference_images.h"

namespace pictavo::imaging::testing {
namespace {

std::set<Pixel> coloursOf(const Image& image) {
    return {image.pixels.begin(), image.pixels.end()};
}

class CodecTest : public ::testing::Test {
  protected:
    Codec codec_{DecoderList{}};
    Image photo_ = testPattern(120, 80);

    void loadPhoto() {
        const auto file = bitmapFile(photo_);
        ASSERT_TRUE(codec_.load(file, "photo.bmp").ok());
    }
};

TEST_F(CodecTest, ReportsSizeAndColourCount) {
    EXPECT_EQ(codec_.colourCount(), 0);
    loadPhoto();
    EXPECT_EQ(codec_.width(), 120);
    EXPECT_EQ(codec_.height(), 80);
    EXPECT_EQ(codec_.colourCount(), 16777216);
    EXPECT_EQ(differences(photo_, codec_.image()), "");
}

TEST_F(CodecTest, ColourCountFollowsTheFilesDepth) {
    const auto dir = samplesDir() / "bmp";
    if (!std::filesystem::exists(dir)) GTEST_SKIP() << "no samples";
    const std::pair<const char*, int64_t> cases[] = {{"pal1.bmp", 2},
                                                     {"pal4.bmp", 16},
                                                     {"pal8.bmp", 256},
                                                     {"rgb16.bmp", 65536},
                                                     {"rgba32.bmp", 16777216}};
    for (const auto& [name, count] : cases) {
        ASSERT_TRUE(codec_.load(readBytes(dir / name), name).ok()) << name;
        EXPECT_EQ(codec_.colourCount(), count) << name;
    }
}

TEST_F(CodecTest, FailedLoadKeepsThePreviousPicture) {
    loadPhoto();
    const std::vector<uint8_t> junk = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'};
    auto result = codec_.load(junk, "junk.bmp");
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().message, "unsupported format");
    EXPECT_EQ(codec_.load({}, "empty.bmp").error().message, "file is empty");
    auto truncated = bitmapFile(photo_);
    truncated.resize(truncated.size() / 2);
    EXPECT_EQ(codec_.load(truncated, "cut.bmp").error().message, "file is truncated");
    EXPECT_EQ(differences(photo_, codec_.image()), "");
}

TEST_F(CodecTest, TransparencyComesOutOnBlack) {
    Image withAlpha(2, 1);
    withAlpha.at(0, 0) = 0x00FFFFFFu;  // invisible white
    withAlpha.at(1, 0) = 0x80FF8040u;  // half-covering orange
    ASSERT_TRUE(codec_.load(bitmapFile(withAlpha, true), "alpha.bmp").ok());
    EXPECT_EQ(codec_.image().at(0, 0), rgb(0, 0, 0));
    EXPECT_EQ(codec_.image().at(1, 0), rgb(128, 64, 32));
}

// The loader's sequence for a true-colour picture on a 256-colour display.
TEST_F(CodecTest, ReductionTo256ColoursAsTheLoaderAsksIt) {
    loadPhoto();
    codec_.setTargetColourCount(256);
    ASSERT_GT(codec_.colourCount(), codec_.targetColourCount());
    codec_.setDither(3);
    codec_.reduceColours(256, false, true);
    EXPECT_GT(coloursOf(codec_.image()).size(), 256u);  // nothing happens before apply
    codec_.apply();
    EXPECT_LE(coloursOf(codec_.image()).size(), 256u);
    EXPECT_EQ(codec_.colourCount(), 256);
}

TEST_F(CodecTest, ReductionTo16UsesTheStandardColours) {
    loadPhoto();
    codec_.setDither(3);
    codec_.reduceColours(16, false, false);
    codec_.apply();
    const auto vga = standardPalette16();
    for (Pixel p : coloursOf(codec_.image()))
        EXPECT_NE(std::find(vga.begin(), vga.end(), p), vga.end());
    EXPECT_EQ(codec_.colourCount(), 16);
}

TEST_F(CodecTest, ApplyWithoutAPreparedReductionChangesNothing) {
    loadPhoto();
    codec_.setDither(3);
    codec_.reduceColours(65536, false, false);  // not a count the codec reduces to
    codec_.apply();
    EXPECT_EQ(differences(photo_, codec_.image()), "");
    EXPECT_EQ(codec_.colourCount(), 16777216);
}

TEST_F(CodecTest, RenderStretchesToTheOutputSize) {
    loadPhoto();
    ASSERT_TRUE(codec_.render(1024, 768).ok());
    EXPECT_EQ(codec_.width(), 1024);
    EXPECT_EQ(codec_.height(), 768);
    EXPECT_EQ(codec_.colourCount(), 16777216);
    EXPECT_FALSE(codec_.render(0, 768).ok());
    EXPECT_EQ(codec_.width(), 1024);
}

TEST_F(CodecTest, ReducedPictureKeepsItsPaletteWhenRendered) {
    loadPhoto();
    codec_.setDither(3);
    codec_.reduceColours(16, false, false);
    codec_.apply();
    ASSERT_TRUE(codec_.render(333, 250).ok());
    const auto vga = standardPalette16();
    for (Pixel p : coloursOf(codec_.image()))
        EXPECT_NE(std::find(vga.begin(), vga.end(), p), vga.end());
}

// A platform decoder for bitmaps (as WIC is) is preferred to ours.
class PlatformBitmaps final : public Decoder {
  public:
    std::string_view name() const override { return "platform"; }
    Confidence sniff(std::span<const uint8_t> bytes, std::string_view) const override {
        return bytes.size() > 1 && bytes[0] == 'B' && bytes[1] == 'M' ? Confidence::Strong
                                                                      : Confidence::None;
    }
    std::span<const std::string_view> extensions() const override { return extensions_; }
    Result<Image> decode(const DecodeRequest&) const override { return Image(3, 3, rgb(1, 2, 3)); }

  private:
    std::array<std::string_view, 1> extensions_ = {"bmp"};
};

TEST_F(CodecTest, PlatformDecodersComeFirstAmongEquals) {
    DecoderList platform;
    platform.push_back(std::make_unique<PlatformBitmaps>());
    Codec codec(std::move(platform));
    ASSERT_TRUE(codec.load(bitmapFile(photo_), "photo.bmp").ok());
    EXPECT_EQ(codec.width(), 3);
}

}  // namespace
}  // namespace pictavo::imaging::testing
