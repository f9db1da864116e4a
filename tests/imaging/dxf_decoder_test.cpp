// Drawing exchange files written at test time by ezdxf (text and binary),
// compared with the same drawing written as PostScript and rendered by
// Ghostscript, and small files written here for the edge cases.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "imaging/decoders/dxf.h"
#include "imaging/decoders/dxf_colours.h"
#include "imaging/source_pictures.h"
#include "temp_folder.h"
#include "vector_test_support.h"

namespace pictavo::imaging {
namespace {

namespace fs = std::filesystem;

class DxfFromEzdxf : public ::testing::Test {
  protected:
    void SetUp() override {
        python_ = testing::pythonWithEzdxf(testing::run);
        if (python_.empty()) GTEST_SKIP() << "no Python with ezdxf";
        std::ofstream(folder_.path() / "writer.py") << testing::kEzdxfWriter;
        base_ = folder_.path() / "drawing";
        ASSERT_TRUE(testing::run(python_ + " '" + (folder_.path() / "writer.py").string() + "' '" +
                                 base_.string() + "'"));
    }

    TempFolder folder_;
    std::string python_;
    fs::path base_;
};

TEST_F(DxfFromEzdxf, TextAndBinaryFilesDrawTheSamePicture) {
    auto text = decodeDxf(testing::readBytes(base_.string() + ".dxf"), 416, 416);
    auto binary = decodeDxf(testing::readBytes(base_.string() + "-binary.dxf"), 416, 416);
    ASSERT_TRUE(text) << text.error().message;
    ASSERT_TRUE(binary) << binary.error().message;
    EXPECT_EQ(text->width, 416);
    EXPECT_EQ(text->height, 216);  // the drawing's 104 x 54 with its margin, fitted
    EXPECT_EQ(text->pixels, binary->pixels);
    // Light colours on the CAD program's black.
    EXPECT_EQ(testing::cornerColour(*text), rgb(0, 0, 0));
    EXPECT_GT(testing::inkCoverage(*text, rgb(0, 0, 0)), 0.01);
}

TEST_F(DxfFromEzdxf, MatchesGhostscriptDrawingTheSameShapes) {
    if (!testing::haveTool("gs")) GTEST_SKIP() << "no Ghostscript";
    const fs::path reference = folder_.path() / "reference.ppm";
    ASSERT_TRUE(
        testing::run("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=ppmraw -r72 -dEPSCrop "
                     "-dGraphicsAlphaBits=4 -sOutputFile='" +
                     reference.string() + "' '" + base_.string() + ".eps'"));
    const Image expected = testing::readPpm(reference);
    auto ours = decodeDxf(testing::readBytes(base_.string() + ".dxf"), 416, 416);
    ASSERT_TRUE(ours);
    ASSERT_EQ(expected.width, ours->width);
    ASSERT_EQ(expected.height, ours->height);
    // Compared a little blurred: a hairline may sit half a pixel apart.
    const double difference = testing::meanGreyDifference(testing::scaleTo(*ours, 104, 54),
                                                          testing::scaleTo(expected, 104, 54));
    EXPECT_LT(difference, 3.0);
    // The red frame's corners and the layer colour of the circle.
    auto near = [&](int x, int y, Pixel colour) {
        for (int dy = -2; dy <= 2; ++dy) {
            for (int dx = -2; dx <= 2; ++dx) {
                // Anti-aliased hairlines are the colour dimmed: compare hues.
                const Pixel p = ours->at(x + dx, y + dy);
                const int strongest = std::max({red(p), green(p), blue(p)});
                if (strongest < 100) continue;
                auto matches = [&](int channel, int wanted) {
                    return std::abs(channel * 255 / strongest - wanted) < 60;
                };
                if (matches(red(p), red(colour)) && matches(green(p), green(colour)) &&
                    matches(blue(p), blue(colour))) {
                    return true;
                }
            }
        }
        return false;
    };
    EXPECT_TRUE(near(8, 208, rgb(255, 0, 0)));                       // (0, 0)
    EXPECT_TRUE(near(408, 8, rgb(255, 0, 0)));                       // (100, 50)
    EXPECT_TRUE(near((2 + 30) * 4, (52 - 42) * 4, rgb(0, 255, 0)));  // top of the circle
    // The line on the layer that is off is not drawn.
    EXPECT_FALSE(near((2 + 5) * 4, (52 - 25) * 4, rgb(0, 0, 255)));
}

// --- files written here ---

std::string groups(std::initializer_list<std::pair<int, std::string>> pairs) {
    std::string out;
    for (const auto& [code, value] : pairs) out += std::to_string(code) + "\n" + value + "\n";
    return out;
}

std::vector<uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

std::string line(double x0, double y0, double x1, double y1, int colour) {
    return groups({{0, "LINE"},
                   {8, "0"},
                   {62, std::to_string(colour)},
                   {10, std::to_string(x0)},
                   {20, std::to_string(y0)},
                   {11, std::to_string(x1)},
                   {21, std::to_string(y1)}});
}

std::string entities(const std::string& body) {
    return groups({{0, "SECTION"}, {2, "ENTITIES"}}) + body + groups({{0, "ENDSEC"}, {0, "EOF"}});
}

TEST(DxfDecoder, DarkDrawingsGetAWhitePage) {
    std::string body;
    for (int i = 0; i < 5; ++i) body += line(0, i, 10, i, 250);  // dark grey
    auto image = decodeDxf(bytesOf(entities(body)), 200, 200);
    ASSERT_TRUE(image) << image.error().message;
    EXPECT_EQ(testing::cornerColour(*image), rgb(255, 255, 255));
}

TEST(DxfDecoder, ColourSevenContrastsWithThePage) {
    EXPECT_EQ(dxf::indexColour(7, rgb(0, 0, 0)), rgb(255, 255, 255));
    EXPECT_EQ(dxf::indexColour(7, rgb(255, 255, 255)), rgb(0, 0, 0));
    EXPECT_EQ(dxf::indexColour(1, rgb(0, 0, 0)), rgb(255, 0, 0));
    EXPECT_EQ(dxf::indexColour(5, rgb(0, 0, 0)), rgb(0, 0, 255));
}

TEST(DxfDecoder, ColourIndexMatchesEzdxf) {
    const std::string python = testing::pythonWithEzdxf(testing::run);
    if (python.empty()) GTEST_SKIP() << "no Python with ezdxf";
    TempFolder folder;
    const fs::path table = folder.path() / "aci.txt";
    ASSERT_TRUE(testing::run(python +
                             " -c 'from ezdxf.colors import aci2rgb\n"
                             "for i in range(1, 256): print(*aci2rgb(i))' > '" +
                             table.string() + "'"));
    std::ifstream in(table);
    for (int index = 1; index < 256; ++index) {
        if (index == 7) {
            int skip[3];
            in >> skip[0] >> skip[1] >> skip[2];
            continue;
        }
        int r = 0, g = 0, b = 0;
        ASSERT_TRUE(in >> r >> g >> b);
        EXPECT_EQ(dxf::indexColour(index, rgb(0, 0, 0)),
                  rgb(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)))
            << index;
    }
}

TEST(DxfDecoder, InsertsThatMultiplyBeyondTheCapStopWithAnError) {
    // Five levels of blocks, each inserting the one below 30 times: 24 million lines.
    std::string blocks = groups({{0, "SECTION"}, {2, "BLOCKS"}});
    blocks += groups({{0, "BLOCK"}, {2, "B0"}, {10, "0"}, {20, "0"}}) + line(0, 0, 1, 1, 1) +
              groups({{0, "ENDBLK"}});
    for (int level = 1; level <= 5; ++level) {
        blocks += groups({{0, "BLOCK"}, {2, "B" + std::to_string(level)}, {10, "0"}, {20, "0"}});
        for (int i = 0; i < 30; ++i) {
            blocks += groups({{0, "INSERT"},
                              {2, "B" + std::to_string(level - 1)},
                              {10, std::to_string(i)},
                              {20, "0"}});
        }
        blocks += groups({{0, "ENDBLK"}});
    }
    blocks += groups({{0, "ENDSEC"}});
    const std::string file =
        blocks + entities(groups({{0, "INSERT"}, {2, "B5"}, {10, "0"}, {20, "0"}}));
    auto image = decodeDxf(bytesOf(file), 100, 100);
    ASSERT_FALSE(image);
    EXPECT_EQ(image.error().message, "drawing too complex to render");
}

TEST(DxfDecoder, BlockThatInsertsItselfEnds) {
    const std::string file =
        groups({{0, "SECTION"}, {2, "BLOCKS"}, {0, "BLOCK"}, {2, "LOOP"}, {10, "0"}, {20, "0"}}) +
        line(0, 0, 5, 5, 3) + groups({{0, "INSERT"}, {2, "LOOP"}, {10, "1"}, {20, "1"}}) +
        groups({{0, "ENDBLK"}, {0, "ENDSEC"}}) +
        entities(groups({{0, "INSERT"}, {2, "LOOP"}, {10, "0"}, {20, "0"}}));
    auto image = decodeDxf(bytesOf(file), 100, 100);
    ASSERT_TRUE(image) << image.error().message;
    EXPECT_GT(testing::inkCoverage(*image, testing::cornerColour(*image)), 0.001);
}

TEST(DxfDecoder, TellsWhatIsWrongWithBrokenFiles) {
    EXPECT_EQ(decodeDxf(bytesOf("hello\nworld\n")).error().message,
              "invalid DXF file: bad group code");
    EXPECT_EQ(decodeDxf(bytesOf(groups({{999, "just a comment"}}))).error().message,
              "invalid DXF file: no sections");
    EXPECT_EQ(decodeDxf(bytesOf(entities(""))).error().message,
              "invalid DXF file: nothing to draw");
    // A file cut anywhere decodes what it has or says why, and never crashes.
    const std::string whole = entities(line(0, 0, 10, 10, 1) + line(0, 10, 10, 0, 2));
    for (size_t cut = 0; cut < whole.size(); cut += 5) {
        const auto image = decodeDxf(bytesOf(whole.substr(0, cut)), 50, 50);
        if (!image) {
            EXPECT_FALSE(image.error().message.empty());
        }
    }
}

TEST(DxfDecoder, TextUsesTheStrokeFontAtItsHeight) {
    const std::string file = entities(
        line(0, 0, 100, 0, 7) +
        groups(
            {{0, "TEXT"}, {8, "0"}, {62, "1"}, {10, "10"}, {20, "10"}, {40, "20"}, {1, "HI%%d"}}));
    auto image = decodeDxf(bytesOf(file), 208, 208);
    ASSERT_TRUE(image) << image.error().message;
    // The text's red strokes reach from y=10 to y=30 in drawing units.
    int redRows = 0;
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            const Pixel p = image->at(x, y);
            if (red(p) > 128 && green(p) < 64) {
                ++redRows;
                break;
            }
        }
    }
    EXPECT_NEAR(redRows, 40, 6);  // 20 units at 2 pixels each
}

TEST(DxfDecoder, SniffsBothEncodings) {
    const auto decoder = makeDxfDecoder();
    EXPECT_EQ(decoder->sniff(bytesOf(entities("")), "x.dxf"), Confidence::Strong);
    EXPECT_EQ(decoder->sniff(bytesOf("999\ncomment\n  0\nSECTION\n"), ""), Confidence::Strong);
    const std::string binary("AutoCAD Binary DXF\r\n\x1a\0\0\0SECTION\0", 32);
    EXPECT_EQ(decoder->sniff(bytesOf(binary), ""), Confidence::Strong);
    EXPECT_EQ(decoder->sniff(bytesOf("BM...."), ""), Confidence::None);
}

}  // namespace
}  // namespace pictavo::imaging
