// A slide's picture from its file, and its colours fitted to a display:
// decode, compare colour counts, reduce with dithering.

#include <gtest/gtest.h>

#include <array>
#include <set>

#include "bmp_writer.h"
#include "imaging/colour_fit.h"
#include "imaging/picture_decoding.h"
#include "reference_images.h"

namespace pictavo::imaging::testing {
namespace {

std::set<Pixel> coloursOf(const Image& image) {
    return {image.pixels.begin(), image.pixels.end()};
}

class PictureDecodingTest : public ::testing::Test {
  protected:
    std::shared_ptr<const DecoderList> decoders_ = pictureDecoders({});
    Image photo_ = testPattern(120, 80);

    Result<Image> decode(std::span<const uint8_t> bytes, std::string_view name) const {
        return decodePicture({.decoders = *decoders_, .fileName = name, .bytes = bytes});
    }
    Image photo() const {
        auto decoded = decode(bitmapFile(photo_), "photo.bmp");
        EXPECT_TRUE(decoded.ok());
        return decoded.ok() ? std::move(decoded).value() : Image{};
    }
};

TEST_F(PictureDecodingTest, ReportsSizeAndColourCount) {
    EXPECT_EQ(colourCount(Image{}), 0);
    const Image decoded = photo();
    EXPECT_EQ(decoded.pictureWidth(), 120);
    EXPECT_EQ(decoded.pictureHeight(), 80);
    EXPECT_EQ(colourCount(decoded), 16777216);
    EXPECT_EQ(differences(photo_, decoded), "");
}

TEST_F(PictureDecodingTest, ColourCountFollowsTheFilesDepth) {
    const auto dir = samplesDir() / "bmp";
    if (!std::filesystem::exists(dir)) GTEST_SKIP() << "no samples";
    const std::pair<const char*, int64_t> cases[] = {{"pal1.bmp", 2},
                                                     {"pal4.bmp", 16},
                                                     {"pal8.bmp", 256},
                                                     {"rgb16.bmp", 65536},
                                                     {"rgba32.bmp", 16777216}};
    for (const auto& [name, count] : cases) {
        auto decoded = decode(readBytes(dir / name), name);
        ASSERT_TRUE(decoded.ok()) << name;
        EXPECT_EQ(colourCount(*decoded), count) << name;
    }
}

TEST_F(PictureDecodingTest, AFailureSaysWhy) {
    const std::vector<uint8_t> junk = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'};
    EXPECT_EQ(decode(junk, "junk.bmp").error().message, "unsupported format");
    EXPECT_EQ(decode({}, "empty.bmp").error().message, "file is empty");
    auto truncated = bitmapFile(photo_);
    truncated.resize(truncated.size() / 2);
    EXPECT_EQ(decode(truncated, "cut.bmp").error().message, "file is truncated");
}

TEST_F(PictureDecodingTest, TransparencyComesOutOnBlack) {
    Image withAlpha(2, 1);
    withAlpha.at(0, 0) = 0x00FFFFFFu;  // invisible white
    withAlpha.at(1, 0) = 0x80FF8040u;  // half-covering orange
    auto decoded = decode(bitmapFile(withAlpha, true), "alpha.bmp");
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded->at(0, 0), rgb(0, 0, 0));
    EXPECT_EQ(decoded->at(1, 0), rgb(128, 64, 32));
}

// The loader's reduction for a true-colour picture on a 256-colour display.
TEST_F(PictureDecodingTest, ReductionTo256FittedColours) {
    const Image decoded = photo();
    ASSERT_GT(coloursOf(decoded).size(), 256u);
    const Palette palette = reductionPalette(decoded, 256, false, true);
    const Image reduced = reduceColours(decoded, palette, Dither::ErrorDiffusion);
    EXPECT_LE(coloursOf(reduced).size(), 256u);
    EXPECT_EQ(colourCount(reduced), 256);
}

TEST_F(PictureDecodingTest, ReductionTo16UsesTheStandardColours) {
    const Palette palette = reductionPalette(photo(), 16, false, false);
    const Image reduced = reduceColours(photo(), palette, Dither::ErrorDiffusion);
    const auto vga = standardPalette16();
    for (Pixel p : coloursOf(reduced)) EXPECT_NE(std::find(vga.begin(), vga.end(), p), vga.end());
    EXPECT_EQ(colourCount(reduced), 16);
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

TEST_F(PictureDecodingTest, PlatformDecodersComeFirstAmongEquals) {
    DecoderList platform;
    platform.push_back(std::make_unique<PlatformBitmaps>());
    decoders_ = pictureDecoders(std::move(platform));
    EXPECT_EQ(photo().pictureWidth(), 3);
}

}  // namespace
}  // namespace pictavo::imaging::testing
