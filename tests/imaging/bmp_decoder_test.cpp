// The bitmap decoder against the BMP suite's reference renderings, against
// GraphicsMagick and netpbm, and against bitmaps those tools write.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "decode_helpers.h"
#include "imaging/decoders/bmp.h"

namespace pictavo::imaging::testing {
namespace {

namespace fs = std::filesystem;

fs::path bmpDir() {
    return samplesDir() / "bmp";
}

#define SKIP_WITHOUT_SAMPLES() \
    if (!fs::exists(bmpDir())) GTEST_SKIP() << "no samples in " << bmpDir()

Image decodeOrFail(const fs::path& path) {
    auto image = decodeFile(*makeBmpDecoder(), path);
    EXPECT_TRUE(image.ok()) << path << ": " << image.error().message;
    return image ? std::move(image).value() : Image();
}

TEST(BmpSuite, MatchesReferenceRenderings) {
    SKIP_WITHOUT_SAMPLES();
    struct Case {
        const char* bitmap;
        const char* reference;
        int tolerance;
    };
    // The 8-bit references were saved with greens of 0x2A where the
    // bitmaps' palettes say 0x2B, hence the tolerance of one for them.
    const Case cases[] = {
        {"pal1.bmp", "pal1", 0},
        {"pal1wb.bmp", "pal1", 0},
        {"pal1bg.bmp", "pal1bg", 0},
        {"pal4.bmp", "pal4", 0},
        {"pal4rle.bmp", "pal4", 0},
        {"pal8.bmp", "pal8", 1},
        {"pal8-0.bmp", "pal8", 1},
        {"pal8os2.bmp", "pal8", 1},
        {"pal8os2sp.bmp", "pal8", 1},
        {"pal8os2v2.bmp", "pal8", 1},
        {"pal8os2v2-16.bmp", "pal8", 1},
        {"pal8offs.bmp", "pal8", 1},
        {"pal8oversizepal.bmp", "pal8", 1},
        {"pal8rle.bmp", "pal8", 1},
        {"pal8topdown.bmp", "pal8", 1},
        {"pal8v4.bmp", "pal8", 1},
        {"pal8v5.bmp", "pal8", 1},
        {"pal8w124.bmp", "pal8w124", 1},
        {"pal8w125.bmp", "pal8w125", 1},
        {"pal8w126.bmp", "pal8w126", 1},
        {"pal8nonsquare.bmp", "pal8nonsquare-e", 1},
        {"rgb16.bmp", "rgb16", 0},
        {"rgb16-565.bmp", "rgb16-565", 0},
        {"rgb16-565pal.bmp", "rgb16-565", 0},
        {"rgb24.bmp", "rgb24", 0},
        {"rgb24pal.bmp", "rgb24", 0},
        {"rgb24largepal.bmp", "rgb24", 0},
        {"rgb24prof.bmp", "rgb24", 0},
        {"rgb24lprof.bmp", "rgb24", 0},
        {"rgb32.bmp", "rgb24", 0},
        {"rgb32bf.bmp", "rgb24", 0},
        {"rgb32bf-xbgr.bmp", "rgb24", 0},
        {"rgb32fakealpha.bmp", "rgb24", 0},
        {"rgb32h52.bmp", "rgb24", 0},
        // 10- and 11-bit channels come back to 8 bits within one step.
        {"rgb32-111110.bmp", "rgb24", 1},
    };
    if (!canReadPng()) GTEST_SKIP() << "the references are PNG files; no libpng here";
    for (const Case& c : cases) {
        const auto reference =
            readPng(bmpDir() / ("expected-" + std::string(c.reference) + ".png"));
        ASSERT_TRUE(reference) << c.reference;
        EXPECT_EQ(differences(*reference, decodeOrFail(bmpDir() / c.bitmap), {c.tolerance}), "")
            << c.bitmap;
    }
}

// Where GraphicsMagick decodes a file of the suite, we agree exactly,
// except where it reads the file the wrong way:
// - 16-bit and 11-bit channels: it shifts instead of scaling (31 -> 0xF7, not 0xFF);
// - 32-bit BI_RGB pixels: it takes the unused fourth byte as alpha;
// - pixels that run-length data leaves undefined: it paints colour 0, we leave them transparent.
TEST(BmpSuite, AgreesWithGraphicsMagick) {
    SKIP_WITHOUT_SAMPLES();
    if (!toolAvailable("gm")) GTEST_SKIP() << "no GraphicsMagick";
    const std::set<std::string> gmReadsOtherwise = {
        "rgb16.bmp",       "rgb16-565.bmp",   "rgb16-565pal.bmp",   "rgb16-231.bmp",
        "rgba16-4444.bmp", "rgb32.bmp",       "rgb32fakealpha.bmp", "rgb32-111110.bmp",
        "pal8rletrns.bmp", "pal4rletrns.bmp",
        "pal8os2v2.bmp",  // it takes the 64-byte OS/2 header for a Windows one
    };
    TempDir temp;
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(bmpDir())) {
        const auto name = entry.path().filename().string();
        if (entry.path().extension() != ".bmp" || gmReadsOtherwise.count(name) != 0) continue;
        const auto theirs = readWithGraphicsMagick(entry.path().string(), temp);
        if (!theirs) continue;  // a file it cannot read
        EXPECT_EQ(differences(*theirs, decodeOrFail(entry.path())), "") << name;
        ++compared;
    }
    EXPECT_GE(compared, 30);
}

TEST(BmpSuite, AgreesWithNetpbmOnFilesNoOtherReferenceCovers) {
    SKIP_WITHOUT_SAMPLES();
    if (!toolAvailable("bmptopnm")) GTEST_SKIP() << "no netpbm";
    TempDir temp;
    // 2-bit grey, a 1-bit palette of one colour, 4-4-4-4 bit fields (colours only).
    for (const char* name : {"pal2.bmp", "pal1p1.bmp", "rgba16-4444.bmp"}) {
        const auto theirs = readWithNetpbm("bmptopnm", bmpDir() / name, temp);
        ASSERT_TRUE(theirs) << name;
        EXPECT_EQ(differences(*theirs, decodeOrFail(bmpDir() / name), {0, true}), "") << name;
    }
}

// Red in 2 bits, green in 3, blue in 1 (dithered by its writer): every
// channel must land on one of its evenly spread levels from 0 to 255, less
// than one level away from the true colour. No tool reads these masks.
TEST(BmpSuite, NarrowBitFieldsScaleToFullRange) {
    SKIP_WITHOUT_SAMPLES();
    if (!canReadPng()) GTEST_SKIP() << "the reference is a PNG file; no libpng here";
    const Image narrow = decodeOrFail(bmpDir() / "rgb16-231.bmp");
    const auto truth = readPng(bmpDir() / "expected-rgb24.png");
    ASSERT_TRUE(truth);
    ASSERT_EQ(narrow.pixels.size(), truth->pixels.size());
    auto fits = [](int value, int trueValue, int bits) {
        const int top = (1 << bits) - 1;
        const int step = (value * top + 127) / 255;
        const bool onLevel = value == (step * 255 + top / 2) / top;
        return onLevel && std::abs(value - trueValue) < 256 / top;
    };
    int wrong = 0;
    for (size_t i = 0; i < narrow.pixels.size(); ++i) {
        const Pixel n = narrow.pixels[i];
        const Pixel t = truth->pixels[i];
        if (!fits(red(n), red(t), 2) || !fits(green(n), green(t), 3) || !fits(blue(n), blue(t), 1))
            ++wrong;
    }
    EXPECT_EQ(wrong, 0);
}

TEST(BmpSuite, AlphaBitFieldsOfAnyHeaderMatch) {
    SKIP_WITHOUT_SAMPLES();
    const Image v5 = decodeOrFail(bmpDir() / "rgba32.bmp");
    EXPECT_EQ(differences(v5, decodeOrFail(bmpDir() / "rgba32abf.bmp")), "");
    EXPECT_EQ(differences(v5, decodeOrFail(bmpDir() / "rgba32h56.bmp")), "");
    const auto transparent =
        std::count_if(v5.pixels.begin(), v5.pixels.end(), [](Pixel p) { return p >> 24 == 0; });
    EXPECT_GT(transparent, 0);
}

TEST(BmpSuite, PixelsRunLengthsSkipStayTransparent) {
    SKIP_WITHOUT_SAMPLES();
    for (const auto& [withGaps, complete] : {std::pair{"pal8rletrns.bmp", "pal8rle.bmp"},
                                             std::pair{"pal4rletrns.bmp", "pal4rle.bmp"}}) {
        const Image gaps = decodeOrFail(bmpDir() / withGaps);
        const Image full = decodeOrFail(bmpDir() / complete);
        ASSERT_EQ(gaps.pixels.size(), full.pixels.size());
        size_t skipped = 0;
        for (size_t i = 0; i < gaps.pixels.size(); ++i) {
            if (gaps.pixels[i] == 0) {
                ++skipped;
            } else {
                EXPECT_EQ(gaps.pixels[i], full.pixels[i]) << withGaps << " pixel " << i;
            }
        }
        EXPECT_GT(skipped, 100u) << withGaps;
    }
}

TEST(BmpSuite, EmbeddedJpegAndPngAreNamed) {
    SKIP_WITHOUT_SAMPLES();
    auto jpeg = decodeFile(*makeBmpDecoder(), bmpDir() / "rgb24jpeg.bmp");
    auto png = decodeFile(*makeBmpDecoder(), bmpDir() / "rgb24png.bmp");
    ASSERT_FALSE(jpeg.ok());
    ASSERT_FALSE(png.ok());
    EXPECT_EQ(jpeg.error().message, "unsupported BMP file: embedded JPEG");
    EXPECT_EQ(png.error().message, "unsupported BMP file: embedded PNG");
}

TEST(BmpSuite, ReportsTheDepthOfTheFile) {
    SKIP_WITHOUT_SAMPLES();
    EXPECT_EQ(decodeOrFail(bmpDir() / "pal1.bmp").sourceBits, 1);
    EXPECT_EQ(decodeOrFail(bmpDir() / "pal4rle.bmp").sourceBits, 4);
    EXPECT_EQ(decodeOrFail(bmpDir() / "pal8os2.bmp").sourceBits, 8);
    EXPECT_EQ(decodeOrFail(bmpDir() / "rgb16.bmp").sourceBits, 16);
    EXPECT_EQ(decodeOrFail(bmpDir() / "rgb24.bmp").sourceBits, 24);
    EXPECT_EQ(decodeOrFail(bmpDir() / "rgb32.bmp").sourceBits, 32);
}

// The clipboard keeps a bitmap without its 14-byte file header. Giving it
// one back lets GraphicsMagick read it for comparison.
TEST(HeaderlessDib, DecodesLikeTheSameBitmapWithAFileHeader) {
    const auto path = samplesDir() / "dib" / "clipboard.dib";
    if (!fs::exists(path)) GTEST_SKIP() << "no samples";
    const auto dib = readBytes(path);
    ASSERT_GT(dib.size(), 60u);
    const uint32_t headerSize = dib[0] | dib[1] << 8;
    const uint32_t compression = dib[16] | dib[17] << 8;
    const uint32_t pixelOffset = 14 + headerSize + (headerSize == 40 && compression == 3 ? 12 : 0);
    const auto fileSize = static_cast<uint32_t>(dib.size() + 14);
    std::vector<uint8_t> file = {'B', 'M'};
    for (uint32_t value : {fileSize, 0u, pixelOffset}) {
        for (int i = 0; i < 4; ++i) file.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
    file.insert(file.end(), dib.begin(), dib.end());

    const auto decoderMade = makeBmpDecoder();
    const Decoder& decoder = *decoderMade;
    EXPECT_EQ(decoder.sniff(dib, "clipboard.dib"), Confidence::Weak);
    auto headerless = decodeWith(decoder, dib);
    auto withHeader = decodeWith(decoder, file);
    ASSERT_TRUE(headerless.ok()) << headerless.error().message;
    ASSERT_TRUE(withHeader.ok()) << withHeader.error().message;
    EXPECT_EQ(differences(*withHeader, *headerless), "");
    if (!toolAvailable("gm")) return;
    TempDir temp;
    writeBytes(temp / "with-header.bmp", file);
    const auto theirs = readWithGraphicsMagick((temp / "with-header.bmp").string(), temp);
    ASSERT_TRUE(theirs);
    EXPECT_EQ(differences(*theirs, *headerless, {0, true}), "");
}

// An OS/2 bitmap array: an array header, then a whole bitmap file whose
// pixel offset counts from the start of the array.
TEST(BmpSuite, Os2BitmapArrayShowsItsFirstBitmap) {
    SKIP_WITHOUT_SAMPLES();
    const auto bitmap = readBytes(bmpDir() / "pal8os2.bmp");
    std::vector<uint8_t> array = {'B', 'A', 40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    array.insert(array.end(), bitmap.begin(), bitmap.end());
    array[14 + 10] = static_cast<uint8_t>(array[14 + 10] + 14);  // a small offset, no carry
    const auto decoderMade = makeBmpDecoder();
    const Decoder& decoder = *decoderMade;
    EXPECT_EQ(decoder.sniff(array, ""), Confidence::Strong);
    auto decoded = decodeWith(decoder, array);
    ASSERT_TRUE(decoded.ok()) << decoded.error().message;
    EXPECT_EQ(differences(decodeOrFail(bmpDir() / "pal8os2.bmp"), *decoded), "");
}

// Bitmaps written on the spot by the tools, compared with the pixels they were given.
class BmpWrittenByTools : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!toolAvailable("gm") || !toolAvailable("ppmtobmp"))
            GTEST_SKIP() << "no GraphicsMagick or netpbm";
        writePpm(temp_ / "source.ppm", testPattern(61, 37));
    }

    // Writes the test pattern with command (SOURCE and OUT replaced), then
    // checks our reading against every tool that can read the file back.
    void check(const std::string& label, std::string command) {
        const auto out = temp_ / (label + ".bmp");
        for (auto [key, value] : {std::pair{"SOURCE", (temp_ / "source.ppm").string()},
                                  std::pair{"OUT", out.string()}}) {
            command.replace(command.find(key), std::string(key).size(), value);
        }
        ASSERT_TRUE(run(command)) << command;
        auto ours = decodeFile(*makeBmpDecoder(), out);
        ASSERT_TRUE(ours.ok()) << label << ": " << ours.error().message;
        int references = 0;
        for (const auto& theirs : {readWithGraphicsMagick(out.string(), temp_),
                                   readWithNetpbm("bmptopnm", out, temp_)}) {
            if (!theirs) continue;
            EXPECT_EQ(differences(*theirs, *ours), "") << label;
            ++references;
        }
        EXPECT_GT(references, 0) << label << ": no tool read it back";
    }

    TempDir temp_;
};

TEST_F(BmpWrittenByTools, TrueColourIsExact) {
    check("ppmtobmp-24", "ppmtobmp -windows SOURCE > OUT");
    check("ppmtobmp-os2", "ppmtobmp -os2 SOURCE > OUT");
    check("gm-bmp3", "gm convert SOURCE bmp3:OUT");
    check("gm-bmp2", "gm convert SOURCE bmp2:OUT");
    check("gm-bmp4", "gm convert SOURCE bmp:OUT");
    const Image written = testPattern(61, 37);
    EXPECT_EQ(
        differences(written, decodeFile(*makeBmpDecoder(), temp_ / "ppmtobmp-24.bmp").value()), "");
}

TEST_F(BmpWrittenByTools, PalettesAtEveryDepth) {
    check("ppmtobmp-8", "pnmquant 256 SOURCE | ppmtobmp -bpp 8 > OUT");
    check("ppmtobmp-4", "pnmquant 16 SOURCE | ppmtobmp -bpp 4 > OUT");
    check("ppmtobmp-1", "pnmquant 2 SOURCE | ppmtobmp -bpp 1 > OUT");
    check("ppmtobmp-os2-8", "pnmquant 200 SOURCE | ppmtobmp -os2 -bpp 8 > OUT");
    check("gm-8", "gm convert SOURCE -colors 256 -type Palette bmp3:OUT");
    check("gm-4", "gm convert SOURCE -colors 16 -type Palette bmp3:OUT");
}

TEST_F(BmpWrittenByTools, RunLengthEncoded) {
    check("gm-rle8", "gm convert SOURCE -colors 200 -type Palette -compress RLE bmp3:OUT");
    const auto bytes = readBytes(temp_ / "gm-rle8.bmp");
    ASSERT_GT(bytes.size(), 34u);
    EXPECT_EQ(bytes[30], 1) << "gm did not write RLE8";
}

}  // namespace
}  // namespace pictavo::imaging::testing
