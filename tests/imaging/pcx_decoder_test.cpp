// The PCX and DCX decoders against netpbm's and GraphicsMagick's readings
// of the samples, and against files those tools write.

#include <gtest/gtest.h>

#include "decode_helpers.h"
#include "imaging/decoders/dcx.h"
#include "imaging/decoders/pcx.h"

namespace pictavo::imaging::testing {
namespace {

namespace fs = std::filesystem;

fs::path pcxDir() {
    return samplesDir() / "pcx";
}

TEST(PcxSamples, AgreeWithNetpbmAndGraphicsMagick) {
    if (!fs::exists(pcxDir())) GTEST_SKIP() << "no samples";
    if (!toolAvailable("gm") || !toolAvailable("pcxtoppm"))
        GTEST_SKIP() << "no GraphicsMagick or netpbm";
    TempDir temp;
    // 24-bit in three planes, 8-bit with a stride longer than the width,
    // 16 colours in four 1-bit planes, monochrome.
    for (const char* name :
         {"exiftool-PCX.pcx", "odd_stride.pcx", "p_4_planes.pcx", "pil184.pcx"}) {
        auto ours = decodeFile(*makePcxDecoder(), pcxDir() / name);
        ASSERT_TRUE(ours.ok()) << name << ": " << ours.error().message;
        const auto netpbm = readWithNetpbm("pcxtoppm", pcxDir() / name, temp);
        const auto gm = readWithGraphicsMagick((pcxDir() / name).string(), temp);
        ASSERT_TRUE(netpbm && gm) << name;
        EXPECT_EQ(differences(*netpbm, *ours), "") << name << " netpbm";
        EXPECT_EQ(differences(*gm, *ours), "") << name << " gm";
    }
}

TEST(DcxSamples, FirstPageAgreesWithGraphicsMagick) {
    const auto path = samplesDir() / "dcx" / "hopper.dcx";
    if (!fs::exists(path)) GTEST_SKIP() << "no samples";
    if (!toolAvailable("gm")) GTEST_SKIP() << "no GraphicsMagick";
    TempDir temp;
    auto ours = decodeFile(*makeDcxDecoder(), path);
    ASSERT_TRUE(ours.ok()) << ours.error().message;
    const auto gm = readWithGraphicsMagick(path.string() + "[0]", temp);
    ASSERT_TRUE(gm);
    EXPECT_EQ(differences(*gm, *ours), "");
}

TEST(PcxSamples, LinesShorterThanTheWidthAreRefused) {
    const auto path = pcxDir() / "01r_00.pcx";  // 88 pixels of 8 bits in 12-byte lines
    if (!fs::exists(path)) GTEST_SKIP() << "no samples";
    auto decoded = decodeFile(*makePcxDecoder(), path);
    ASSERT_FALSE(decoded.ok());
    EXPECT_EQ(decoded.error().message, "invalid PCX file: lines too short");
}

class PcxWrittenByTools : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!toolAvailable("gm") || !toolAvailable("ppmtopcx"))
            GTEST_SKIP() << "no GraphicsMagick or netpbm";
        writePpm(temp_ / "source.ppm", testPattern(53, 21));
        // The same picture in 16, 2 and 256 colours.
        for (int colours : {2, 16, 256}) {
            const auto out = temp_ / ("colours" + std::to_string(colours) + ".ppm");
            ASSERT_TRUE(run("pnmquant " + std::to_string(colours) + " '" +
                            (temp_ / "source.ppm").string() + "' > '" + out.string() + "'"));
        }
    }

    Image picture(const std::string& ppm) {
        auto image = readNetpbm(temp_ / ppm);
        EXPECT_TRUE(image) << ppm;
        return image ? *image : Image();
    }

    // Runs "tool-command FILE > OUT" and decodes OUT with decoder.
    Image written(const Decoder& decoder, const std::string& command, const std::string& out) {
        EXPECT_TRUE(run(command + " > '" + (temp_ / out).string() + "'")) << command;
        auto decoded = decodeFile(decoder, temp_ / out);
        EXPECT_TRUE(decoded.ok()) << out << ": " << decoded.error().message;
        return decoded ? std::move(decoded).value() : Image();
    }

    std::string file(const std::string& name) const { return "'" + (temp_ / name).string() + "'"; }

    TempDir temp_;
};

TEST_F(PcxWrittenByTools, EveryLayoutNetpbmWrites) {
    const auto pcxMade = makePcxDecoder();
    const Decoder& pcx = *pcxMade;
    const Image full = picture("source.ppm");
    EXPECT_EQ(differences(full, written(pcx, "ppmtopcx -24bit " + file("source.ppm"), "24.pcx")),
              "");
    const Image palette256 = picture("colours256.ppm");
    EXPECT_EQ(
        differences(palette256, written(pcx, "ppmtopcx -8bit " + file("colours256.ppm"), "8.pcx")),
        "");
    const Image palette16 = picture("colours16.ppm");
    EXPECT_EQ(
        differences(palette16, written(pcx, "ppmtopcx " + file("colours16.ppm"), "planes.pcx")),
        "");
    EXPECT_EQ(differences(palette16,
                          written(pcx, "ppmtopcx -packed " + file("colours16.ppm"), "packed.pcx")),
              "");
    const Image palette2 = picture("colours2.ppm");
    EXPECT_EQ(
        differences(palette2, written(pcx, "ppmtopcx -planes=1 " + file("colours2.ppm"), "1.pcx")),
        "");
}

TEST_F(PcxWrittenByTools, GraphicsMagickPcxAndMultiPageDcx) {
    const Image full = picture("source.ppm");
    EXPECT_EQ(differences(full, written(*makePcxDecoder(),
                                        "gm convert " + file("source.ppm") + " pcx:-", "gm.pcx")),
              "");
    const Image palette256 = picture("colours256.ppm");
    EXPECT_EQ(differences(palette256,
                          written(*makePcxDecoder(),
                                  "gm convert " + file("colours256.ppm") + " -type Palette pcx:-",
                                  "gm8.pcx")),
              "");
    // Two pages; the first is the one shown.
    const std::string pages = file("colours16.ppm") + " " + file("source.ppm");
    EXPECT_EQ(differences(picture("colours16.ppm"),
                          written(*makeDcxDecoder(), "gm convert " + pages + " dcx:-", "two.dcx")),
              "");
}

}  // namespace
}  // namespace pictavo::imaging::testing
