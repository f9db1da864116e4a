// Broken files: known malformed samples, and every sample cut short at
// many lengths. Each gives a clean error or a sound picture, never a crash
// (run these under the sanitizer build too).

#include <gtest/gtest.h>

#include <map>

#include "decode_helpers.h"
#include "imaging/decoder_choice.h"
#include "imaging/decoders/own_decoders.h"

namespace pictavo::imaging::testing {
namespace {

namespace fs = std::filesystem;

Result<Image> decodeAny(const std::vector<uint8_t>& bytes, const std::string& name) {
    static const DecoderList decoders = ownDecoders();
    return decodePicture(decoders, DecodeRequest{bytes, name});
}

bool sound(const Image& image) {
    return image.width > 0 && image.height > 0 &&
           image.pixels.size() ==
               static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
}

TEST(MalformedSamples, GiveTheirErrorOrASoundPicture) {
    const auto dir = samplesDir() / "malformed";
    if (!fs::exists(dir)) GTEST_SKIP() << "no samples";
    // Files whose only fault is in fields a decoder need not trust decode;
    // indices past a short palette come out black; run-length data that
    // runs past the picture's edge is clipped, as GraphicsMagick's own RLE
    // bitmaps need.
    const std::map<std::string, std::string> expected = {
        {"bmp-badbitcount.bmp", "unsupported BMP file: 30000 bits per pixel"},
        {"bmp-badbitssize.bmp", ""},
        {"bmp-baddens1.bmp", ""},
        {"bmp-baddens2.bmp", ""},
        {"bmp-badfilesize.bmp", ""},
        {"bmp-badheadersize.bmp", "unsupported BMP file: header size 66"},
        {"bmp-badpalettesize.bmp", "invalid BMP file: bad palette size"},
        {"bmp-badplanes.bmp", "invalid BMP file: plane count is not 1"},
        {"bmp-badrle.bmp", ""},
        {"bmp-badwidth.bmp", "invalid picture size: -127 x 64"},
        {"bmp-pal8badindex.bmp", ""},
        {"bmp-reallybig.bmp", "picture too large: 3000000 x 2000000"},
        {"bmp-rletopdown.bmp", "invalid BMP file: compressed bitmaps cannot be top-down"},
        {"bmp-shortfile.bmp", "file is truncated"},
        {"pcx-ossfuzz-4836216264589312.pcx", "unsupported format"},  // encoding 32
    };
    int checked = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const auto name = entry.path().filename().string();
        auto result = decodeAny(readBytes(entry.path()), name);
        const auto known = expected.find(name);
        if (known == expected.end()) {
            // Formats decoded by the platform's libraries: none of ours claims them.
            ASSERT_FALSE(result.ok()) << name;
            EXPECT_EQ(result.error().message, "unsupported format") << name;
            continue;
        }
        ++checked;
        if (known->second.empty()) {
            ASSERT_TRUE(result.ok()) << name << ": " << result.error().message;
            EXPECT_TRUE(sound(*result)) << name;
        } else {
            ASSERT_FALSE(result.ok()) << name;
            EXPECT_EQ(result.error().message, known->second) << name;
        }
    }
    EXPECT_EQ(checked, static_cast<int>(expected.size()));
}

TEST(MalformedSamples, IndicesPastThePaletteAreBlack) {
    const auto path = samplesDir() / "malformed" / "bmp-pal8badindex.bmp";
    if (!fs::exists(path)) GTEST_SKIP() << "no samples";
    auto image = decodeAny(readBytes(path), "");
    ASSERT_TRUE(image.ok());
    const auto black = std::count(image->pixels.begin(), image->pixels.end(), rgb(0, 0, 0));
    EXPECT_GT(black, 0);
}

std::vector<fs::path> everySample() {
    std::vector<fs::path> files;
    for (const char* folder : {"bmp", "dib", "tga", "pcx", "dcx"}) {
        const auto dir = samplesDir() / folder;
        if (!fs::exists(dir)) continue;
        for (const auto& entry : fs::directory_iterator(dir)) {
            const auto extension = entry.path().extension();
            if (extension != ".png" && extension != ".txt") files.push_back(entry.path());
        }
    }
    return files;
}

// Every length up to 300 bytes, then 64 lengths spread over the rest.
std::vector<size_t> cutLengths(size_t size) {
    std::vector<size_t> lengths;
    for (size_t n = 0; n < std::min<size_t>(size, 300); ++n) lengths.push_back(n);
    for (size_t i = 0; i < 64 && size > 300; ++i) lengths.push_back(300 + (size - 300) * i / 64);
    return lengths;
}

TEST(TruncatedSamples, NeverCrashAndAreRefusedWhenThePixelsAreCut) {
    const auto files = everySample();
    if (files.empty()) GTEST_SKIP() << "no samples";
    for (const auto& path : files) {
        const auto bytes = readBytes(path);
        const auto name = path.filename().string();
        const bool whole = decodeAny(bytes, name).ok();
        for (size_t length : cutLengths(bytes.size())) {
            const std::vector<uint8_t> cut(bytes.begin(),
                                           bytes.begin() + static_cast<std::ptrdiff_t>(length));
            auto result = decodeAny(cut, name);
            if (result) {
                EXPECT_TRUE(sound(*result)) << name << " cut to " << length;
            }
        }
        if (!whole || bytes.size() < 1024) continue;
        // Half of a file this size is inside its pixels, so it must fail.
        const std::vector<uint8_t> half(
            bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2));
        auto result = decodeAny(half, name);
        EXPECT_FALSE(result.ok()) << name << " cut in half decoded";
    }
}

}  // namespace
}  // namespace pictavo::imaging::testing
