// The TGA decoder against the sample set's PNG renderings and against TGA
// files that netpbm and GraphicsMagick write.

#include <gtest/gtest.h>

#include "decode_helpers.h"
#include "imaging/decoders/tga.h"
#include "imaging/source_pictures.h"

namespace pictavo::imaging::testing {
namespace {

namespace fs = std::filesystem;

fs::path tgaDir() {
    return samplesDir() / "tga";
}

// Every combination of grey, grey with alpha, palette, RGB and RGBA; raw
// and run-length; bottom-left and top-left origin.
TEST(TgaSamples, MatchTheirPngRenderings) {
    if (!fs::exists(tgaDir())) GTEST_SKIP() << "no samples";
    if (!canReadPng()) GTEST_SKIP() << "the references are PNG files; no libpng here";
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(tgaDir())) {
        if (entry.path().extension() != ".tga") continue;
        const std::string stem = entry.path().stem().string();  // 200x32_rgba_tl_rle
        const std::string pictureName = stem.substr(0, stem.rfind('_', stem.rfind('_') - 1));
        const auto reference = readPng(tgaDir() / (pictureName + ".png"));
        ASSERT_TRUE(reference) << pictureName;
        auto ours = decodeFile(*makeTgaDecoder(), entry.path());
        ASSERT_TRUE(ours.ok()) << stem << ": " << ours.error().message;
        EXPECT_EQ(differences(*reference, *ours), "") << stem;
        ++compared;
    }
    EXPECT_EQ(compared, 24);
}

TEST(TgaSamples, SniffedWeakWithoutFooterStrongWithIt) {
    if (!fs::exists(tgaDir())) GTEST_SKIP() << "no samples";
    const auto decoderMade = makeTgaDecoder();
    const Decoder& decoder = *decoderMade;
    auto bytes = readBytes(tgaDir() / "200x32_rgb_bl_raw.tga");
    EXPECT_EQ(decoder.sniff(bytes, ""), Confidence::Strong);  // it ends with the TGA 2 footer
    bytes.resize(bytes.size() - 26);
    EXPECT_EQ(decoder.sniff(bytes, ""), Confidence::Weak);
    auto decoded = decodeWith(decoder, bytes);
    EXPECT_TRUE(decoded.ok());
}

TEST(TgaSamples, ReportTheirDepth) {
    if (!fs::exists(tgaDir())) GTEST_SKIP() << "no samples";
    EXPECT_EQ(decodeFile(*makeTgaDecoder(), tgaDir() / "200x32_p_bl_rle.tga")->sourceBits, 8);
    EXPECT_EQ(decodeFile(*makeTgaDecoder(), tgaDir() / "200x32_l_tl_raw.tga")->sourceBits, 8);
    EXPECT_EQ(decodeFile(*makeTgaDecoder(), tgaDir() / "200x32_rgb_tl_rle.tga")->sourceBits, 24);
    EXPECT_EQ(decodeFile(*makeTgaDecoder(), tgaDir() / "200x32_rgba_tl_rle.tga")->sourceBits, 32);
}

class TgaWrittenByTools : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!toolAvailable("gm") || !toolAvailable("ppmtotga"))
            GTEST_SKIP() << "no GraphicsMagick or netpbm";
        writePpm(temp_ / "source.ppm", pattern_);
        writePpm(temp_ / "few.ppm", twelveColourTiles());
    }

    Image written(const std::string& command, const std::string& name) {
        std::string line = command;
        for (auto [key, value] : {std::pair{"SOURCE", (temp_ / "source.ppm").string()},
                                  std::pair{"FEW", (temp_ / "few.ppm").string()},
                                  std::pair{"OUT", (temp_ / name).string()}}) {
            if (auto at = line.find(key); at != std::string::npos)
                line.replace(at, std::string(key).size(), value);
        }
        EXPECT_TRUE(run(line)) << line;
        auto decoded = decodeFile(*makeTgaDecoder(), temp_ / name);
        EXPECT_TRUE(decoded.ok()) << name << ": " << decoded.error().message;
        return decoded ? std::move(decoded).value() : Image();
    }

    Image pattern_ = testPattern(67, 29);
    TempDir temp_;
};

TEST_F(TgaWrittenByTools, TrueColourRawAndRunLength) {
    EXPECT_EQ(differences(pattern_, written("ppmtotga -rgb -norle SOURCE > OUT", "raw.tga")), "");
    EXPECT_EQ(differences(pattern_, written("ppmtotga -rgb SOURCE > OUT", "rle.tga")), "");
    EXPECT_EQ(
        differences(pattern_, written("gm convert SOURCE -compress None tga:OUT", "gm-raw.tga")),
        "");
    EXPECT_EQ(
        differences(pattern_, written("gm convert SOURCE -compress RLE tga:OUT", "gm-rle.tga")),
        "");
}

TEST_F(TgaWrittenByTools, ColourMappedAndGrey) {
    const Image few = twelveColourTiles();
    EXPECT_EQ(differences(few, written("ppmtotga -cmap -norle FEW > OUT", "cmap.tga")), "");
    EXPECT_EQ(differences(few, written("ppmtotga -cmap FEW > OUT", "cmap-rle.tga")), "");
    const std::string source = (temp_ / "source.ppm").string();
    const std::string greyFile = (temp_ / "grey.pgm").string();
    ASSERT_TRUE(run("ppmtopgm '" + source + "' > '" + greyFile + "'"));
    const auto grey = readNetpbm(greyFile);
    ASSERT_TRUE(grey);
    EXPECT_EQ(differences(*grey, written("ppmtotga -mono " + greyFile + " > OUT", "grey-rle.tga")),
              "");
    EXPECT_EQ(differences(*grey, written("gm convert " + greyFile + " -type Grayscale tga:OUT",
                                         "grey.tga")),
              "");
}

}  // namespace
}  // namespace pictavo::imaging::testing
