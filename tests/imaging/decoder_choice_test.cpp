// Choosing the decoder: content first, the extension only between equals.

#include <gtest/gtest.h>

#include <array>

#include "bmp_writer.h"
#include "decode_helpers.h"
#include "imaging/decoder_choice.h"
#include "imaging/decoders/own_decoders.h"

namespace pictavo::imaging::testing {
namespace {

namespace fs = std::filesystem;

// Claims every file with the given confidence; decodes to a 1 x 1 picture
// whose colour tells which decoder ran.
class FakeDecoder final : public Decoder {
  public:
    FakeDecoder(std::string_view name, Confidence confidence, std::string_view extension,
                Pixel colour)
        : name_(name), confidence_(confidence), extension_{extension}, colour_(colour) {}
    std::string_view name() const override { return name_; }
    Confidence sniff(std::span<const uint8_t>, std::string_view) const override {
        return confidence_;
    }
    std::span<const std::string_view> extensions() const override { return extension_; }
    Result<Image> decode(const DecodeRequest&) const override { return Image(1, 1, colour_); }

  private:
    std::string_view name_;
    Confidence confidence_;
    std::array<std::string_view, 1> extension_;
    Pixel colour_;
};

DecoderList twoFakes(Confidence first, Confidence second) {
    DecoderList list;
    list.push_back(std::make_unique<FakeDecoder>("first", first, "one", rgb(1, 0, 0)));
    list.push_back(std::make_unique<FakeDecoder>("second", second, "two", rgb(2, 0, 0)));
    return list;
}

std::string picked(const DecoderList& list, std::string_view fileName) {
    const std::vector<uint8_t> bytes = {1, 2, 3};
    const Decoder* decoder = pickDecoder(list, bytes, fileName);
    return decoder ? std::string(decoder->name()) : "none";
}

TEST(DecoderChoice, SurerDecoderWinsWhateverTheExtension) {
    const auto list = twoFakes(Confidence::Weak, Confidence::Strong);
    EXPECT_EQ(picked(list, "picture.one"), "second");
    EXPECT_EQ(picked(list, "picture.two"), "second");
}

TEST(DecoderChoice, ExtensionBreaksATieAndListOrderBreaksTheRest) {
    const auto list = twoFakes(Confidence::Weak, Confidence::Weak);
    EXPECT_EQ(picked(list, "picture.TWO"), "second");
    EXPECT_EQ(picked(list, "picture.one"), "first");
    EXPECT_EQ(picked(list, "picture"), "first");
    EXPECT_EQ(picked(list, "folder.two/picture"), "first");
}

TEST(DecoderChoice, NoClaimMeansUnsupportedFormat) {
    const auto list = twoFakes(Confidence::None, Confidence::None);
    EXPECT_EQ(picked(list, "picture.one"), "none");
    const std::vector<uint8_t> text = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'};
    auto result = decodePicture(ownDecoders(), DecodeRequest{text, "hello.bmp"});
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().message, "unsupported format");
}

TEST(DecoderChoice, RefusesAPictureWhosePixelsDoNotMatchItsSize) {
    class Broken final : public Decoder {
      public:
        std::string_view name() const override { return "broken"; }
        Confidence sniff(std::span<const uint8_t>, std::string_view) const override {
            return Confidence::Strong;
        }
        Result<Image> decode(const DecodeRequest&) const override {
            Image image(4, 4);
            image.pixels.resize(3);
            return image;
        }
    };
    DecoderList list;
    list.push_back(std::make_unique<Broken>());
    const std::vector<uint8_t> bytes = {1};
    auto result = decodePicture(list, DecodeRequest{bytes, ""});
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().message, "invalid picture from the broken decoder");
}

TEST(DecoderChoice, LowerCaseExtension) {
    EXPECT_EQ(lowerCaseExtension("C:\\Pictures\\Holiday.JPG"), "jpg");
    EXPECT_EQ(lowerCaseExtension("archive.tar.GZ"), "gz");
    EXPECT_EQ(lowerCaseExtension("no-extension"), "");
    EXPECT_EQ(lowerCaseExtension("dotted.folder/file"), "");
    EXPECT_EQ(lowerCaseExtension("trailing."), "");
}

// Our decoders recognise every sample by its content, even under another
// format's name.
TEST(DecoderChoice, OwnDecodersRecogniseEverySampleUnderAMisleadingName) {
    const DecoderList decoders = ownDecoders();
    const std::pair<const char*, const char*> folders[] = {
        {"bmp", "BMP"}, {"dib", "BMP"}, {"tga", "TGA"}, {"pcx", "PCX"}, {"dcx", "DCX"}};
    int checked = 0;
    for (const auto& [folder, format] : folders) {
        const auto dir = samplesDir() / folder;
        if (!fs::exists(dir)) continue;
        for (const auto& entry : fs::directory_iterator(dir)) {
            const auto extension = entry.path().extension();
            if (extension == ".png" || extension == ".txt") continue;
            const auto bytes = readBytes(entry.path());
            for (const char* misleading :
                 {"picture.tga", "picture.pcx", "picture.bmp", "picture"}) {
                const Decoder* decoder = pickDecoder(decoders, bytes, misleading);
                ASSERT_NE(decoder, nullptr) << entry.path();
                EXPECT_EQ(decoder->name(), format) << entry.path() << " as " << misleading;
            }
            ++checked;
        }
    }
    if (checked == 0) GTEST_SKIP() << "no samples";
}

TEST(DecoderChoice, BitmapNamedAsTargaIsStillABitmap) {
    const Image picture = testPattern(9, 5);
    const auto file = bitmapFile(picture);
    auto decoded = decodePicture(ownDecoders(), DecodeRequest{file, "wrong.tga"});
    ASSERT_TRUE(decoded.ok()) << decoded.error().message;
    EXPECT_EQ(differences(picture, *decoded), "");
}

}  // namespace
}  // namespace pictavo::imaging::testing
