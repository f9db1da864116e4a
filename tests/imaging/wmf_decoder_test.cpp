// The metafile player on metafiles written by other programs (compared with
// libwmf's renderer where both draw the same thing) and on small metafiles
// built here record by record.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "imaging/decoders/wmf.h"
#include "temp_folder.h"
#include "vector_test_support.h"

namespace pictavo::imaging {
namespace {

namespace fs = std::filesystem;
using testing::inkCoverage;

const fs::path kSamples = testing::samplesDirectory() / "wmf";

// Writes a metafile record by record.
class MetafileWriter {
  public:
    MetafileWriter& record(uint16_t function, std::vector<int16_t> params) {
        const uint32_t size = static_cast<uint32_t>(3 + params.size());
        word(static_cast<uint16_t>(size & 0xFFFFu));
        word(static_cast<uint16_t>(size >> 16));
        word(function);
        for (const int16_t p : params) word(static_cast<uint16_t>(p));
        return *this;
    }
    // COLORREF 0x00BBGGRR as two words.
    static std::vector<int16_t> colour(uint8_t r, uint8_t g, uint8_t b) {
        return {static_cast<int16_t>(r | (g << 8)), static_cast<int16_t>(b)};
    }
    std::vector<uint8_t> bytes(bool placeable, int16_t right = 0, int16_t bottom = 0,
                               uint16_t unitsPerInch = 0) {
        record(0, {});
        std::vector<uint8_t> out;
        auto put16 = [&](uint16_t v) {
            out.push_back(static_cast<uint8_t>(v));
            out.push_back(static_cast<uint8_t>(v >> 8));
        };
        if (placeable) {
            for (const int v : {0xCDD7, 0x9AC6, 0, 0, 0}) put16(static_cast<uint16_t>(v));
            put16(static_cast<uint16_t>(right));
            put16(static_cast<uint16_t>(bottom));
            put16(unitsPerInch);
            put16(0);
            put16(0);
            put16(0);
        }
        const uint32_t total = static_cast<uint32_t>(9 + words_.size());
        for (const int v : {1, 9, 0x300}) put16(static_cast<uint16_t>(v));
        put16(static_cast<uint16_t>(total & 0xFFFF));
        put16(static_cast<uint16_t>(total >> 16));
        for (const int v : {8, 0, 0, 0})
            put16(static_cast<uint16_t>(v));  // objects, largest record, unused
        for (const uint16_t w : words_) put16(w);
        return out;
    }

  private:
    void word(uint16_t w) { words_.push_back(w); }
    std::vector<uint16_t> words_;
};

std::vector<int16_t> join(std::vector<int16_t> a, const std::vector<int16_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

constexpr uint16_t kCreatePen = 0x02FA, kCreateBrush = 0x02FC, kSelect = 0x012D, kDelete = 0x01F0,
                   kRectangle = 0x041B, kEllipse = 0x0418, kWindowExt = 0x020C, kWindowOrg = 0x020B,
                   kSaveDc = 0x001E, kRestoreDc = 0x0127, kPie = 0x081A, kTextOut = 0x0521;

MetafileWriter solidBrushes() {
    MetafileWriter w;
    w.record(kCreatePen, join({5, 0, 0}, MetafileWriter::colour(0, 0, 0)));  // null pen: slot 0
    w.record(kSelect, {0});
    w.record(kCreateBrush, join(join({0}, MetafileWriter::colour(255, 0, 0)), {0}));  // slot 1
    w.record(kCreateBrush, join(join({0}, MetafileWriter::colour(0, 0, 255)), {0}));  // slot 2
    return w;
}

TEST(WmfDecoder, PlaceableMetafileIsDrawnAtItsPhysicalSize) {
    MetafileWriter w = solidBrushes();
    w.record(kSelect, {1});
    w.record(kRectangle, {500, 500, 0, 0});  // bottom, right, top, left
    w.record(kSelect, {2});
    w.record(kEllipse, {1000, 1000, 500, 500});
    // 1000 units at 500 per inch: two inches, 192 pixels.
    auto image = decodeWmf(w.bytes(true, 1000, 1000, 500));
    ASSERT_TRUE(image) << image.error().message;
    EXPECT_EQ(image->width, 192);
    EXPECT_EQ(image->height, 192);
    EXPECT_EQ(image->at(48, 48), rgb(255, 0, 0));
    EXPECT_EQ(image->at(144, 144), rgb(0, 0, 255));
    EXPECT_EQ(image->at(100, 190), rgb(255, 255, 255));  // outside the ellipse: the page
    EXPECT_EQ(image->at(190, 100), rgb(255, 255, 255));
}

TEST(WmfDecoder, MetafileWithoutHeaderIsFittedToTheTarget) {
    MetafileWriter w = solidBrushes();
    w.record(kWindowOrg, {-100, -200});  // y, x
    w.record(kWindowExt, {100, 400});
    w.record(kSelect, {1});
    w.record(kRectangle, {-50, 0, -100, -200});
    auto image = decodeWmf(w.bytes(false), 800, 600);
    ASSERT_TRUE(image) << image.error().message;
    EXPECT_EQ(image->width, 800);
    EXPECT_EQ(image->height, 200);
    EXPECT_EQ(image->at(10, 10), rgb(255, 0, 0));
    EXPECT_EQ(image->at(10, 150), rgb(255, 255, 255));
    EXPECT_EQ(image->at(450, 10), rgb(255, 255, 255));
    auto screenSized = decodeWmf(w.bytes(false));
    ASSERT_TRUE(screenSized);
    EXPECT_EQ(screenSized->width, 1024);
    EXPECT_EQ(screenSized->height, 256);
}

TEST(WmfDecoder, NewObjectsTakeTheLowestFreeSlot) {
    MetafileWriter w = solidBrushes();
    w.record(kDelete, {1});  // frees slot 1; the next brush lands there
    w.record(kCreateBrush, join(join({0}, MetafileWriter::colour(0, 255, 0)), {0}));
    w.record(kSelect, {1});
    w.record(kRectangle, {100, 100, 0, 0});
    auto image = decodeWmf(w.bytes(true, 100, 100, 96));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->at(50, 50), rgb(0, 255, 0));
}

TEST(WmfDecoder, RestoreDcBringsBackTheSavedBrush) {
    MetafileWriter w = solidBrushes();
    w.record(kSelect, {1});
    w.record(kSaveDc, {});
    w.record(kSelect, {2});
    w.record(kRestoreDc, {-1});
    w.record(kRectangle, {100, 100, 0, 0});
    auto image = decodeWmf(w.bytes(true, 100, 100, 96));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->at(50, 50), rgb(255, 0, 0));
}

TEST(WmfDecoder, PieRunsCounterClockwiseFromStartToEnd) {
    MetafileWriter w = solidBrushes();
    w.record(kSelect, {1});
    // Box 0..200; from the bottom radial (100, 200) to the right one (200, 100):
    // a quarter turn counter-clockwise on screen fills the lower right quarter.
    w.record(kPie, {100, 200, 200, 100, 200, 200, 0, 0});
    auto image = decodeWmf(w.bytes(true, 200, 200, 96));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->at(140, 140), rgb(255, 0, 0));
    EXPECT_EQ(image->at(60, 60), rgb(255, 255, 255));
    EXPECT_EQ(image->at(60, 140), rgb(255, 255, 255));
    EXPECT_EQ(image->at(140, 60), rgb(255, 255, 255));
}

TEST(WmfDecoder, TextIsDrawnInTheTextColour) {
    MetafileWriter w;
    // "HELLO" at (10, 10), default font, black text on a transparent background.
    w.record(0x0102, {1});  // SetBkMode TRANSPARENT
    w.record(kTextOut, {5, 'H' | ('E' << 8), 'L' | ('L' << 8), 'O', 10, 10});
    auto image = decodeWmf(w.bytes(true, 200, 50, 96));
    ASSERT_TRUE(image);
    EXPECT_GT(inkCoverage(*image, rgb(255, 255, 255)), 0.01);
    EXPECT_EQ(image->at(5, 45), rgb(255, 255, 255));
}

TEST(WmfDecoder, RefusesWhatIsNotAMetafile) {
    const std::vector<uint8_t> text(40, 'x');
    EXPECT_EQ(decodeWmf(text).error().message, "invalid WMF file: bad metafile header");
    const std::vector<uint8_t> shortFile = {0xD7, 0xCD, 0xC6, 0x9A, 0, 0};
    EXPECT_EQ(decodeWmf(shortFile).error().message, "file is truncated");
    MetafileWriter nothing;
    EXPECT_EQ(decodeWmf(nothing.bytes(false)).error().message, "invalid WMF file: nothing to draw");
    MetafileWriter huge;
    huge.record(kRectangle, {1, 1, 0, 0});
    EXPECT_EQ(decodeWmf(huge.bytes(true, 32000, 32000, 10)).error().message,
              "picture too large: 307200 x 307200");
}

TEST(WmfDecoder, RecordsCutShortByTheEndOfTheFileAreSurvived) {
    MetafileWriter w = solidBrushes();
    w.record(kSelect, {1});
    w.record(kRectangle, {100, 100, 0, 0});
    std::vector<uint8_t> bytes = w.bytes(true, 100, 100, 96);
    for (size_t cut = 40; cut < bytes.size(); cut += 3) {
        const std::vector<uint8_t> part(bytes.begin(), bytes.begin() + static_cast<long>(cut));
        auto image = decodeWmf(part);
        EXPECT_TRUE(image) << cut;
    }
}

TEST(WmfDecoder, SniffsBothKindsOfMetafile) {
    const auto decoder = makeWmfDecoder();
    MetafileWriter w;
    EXPECT_EQ(decoder->sniff(w.bytes(true, 1, 1, 1), ""), Confidence::Strong);
    MetafileWriter plain;
    EXPECT_EQ(decoder->sniff(plain.bytes(false), ""), Confidence::Weak);
    EXPECT_EQ(decoder->sniff(std::vector<uint8_t>(30, 0), ""), Confidence::None);
}

// --- metafiles from elsewhere ---

TEST(WmfSamples, EveryPictureDecodesToItsSizeAndIsNotBlank) {
    if (!fs::exists(kSamples)) GTEST_SKIP() << "no samples at " << kSamples;
    int decoded = 0;
    for (const auto& entry : fs::directory_iterator(kSamples)) {
        const auto bytes = testing::readBytes(entry.path());
        auto image = decodeWmf(bytes);
        ASSERT_TRUE(image) << entry.path() << ": " << image.error().message;
        EXPECT_GT(inkCoverage(*image, rgb(255, 255, 255)), 0.001) << entry.path();
        if (bytes.size() > 22 && bytes[0] == 0xD7 && bytes[1] == 0xCD) {
            auto field = [&](size_t at) {
                return static_cast<int16_t>(bytes[at] | (bytes[at + 1] << 8));
            };
            const double inch = static_cast<uint16_t>(field(14));
            EXPECT_EQ(image->width, std::lround((field(10) - field(6)) / inch * 96))
                << entry.path();
            EXPECT_EQ(image->height, std::lround((field(12) - field(8)) / inch * 96))
                << entry.path();
        }
        ++decoded;
    }
    EXPECT_GE(decoded, 10);
}

// libwmf draws these shapes as we do. Its text differs, and it stretches the
// bounds of what it finds drawn over the whole frame where we keep to the
// metafile's window, so the comparison keeps to drawings of shapes whose
// window is their ink.
TEST(WmfSamples, ShapesMatchLibwmfWithinTolerance) {
    if (!fs::exists(kSamples)) GTEST_SKIP() << "no samples at " << kSamples;
    if (!testing::haveTool("wmf2gd") || !testing::haveTool("gm")) GTEST_SKIP() << "no wmf2gd or gm";
    TempFolder folder;
    for (const char* name : {"arrow01", "sample", "sample2"}) {
        const fs::path source = kSamples / (std::string(name) + ".wmf");
        const fs::path reference = folder.path() / (std::string(name) + ".png");
        ASSERT_TRUE(testing::run("wmf2gd -t png -o '" + reference.string() + "' '" +
                                 source.string() + "' 2>/dev/null"));
        const Image expected = testing::readWithGraphicsMagick(reference);
        ASSERT_FALSE(expected.empty()) << name;
        auto ours = decodeWmf(testing::readBytes(source));
        ASSERT_TRUE(ours) << name;
        // libwmf frames a drawing by its ink rather than by the header, so
        // both are compared on their inked part.
        const Pixel page = rgb(255, 255, 255);
        const Image theirs = testing::cropToInk(expected, page);
        // Compared small, so that lines a pixel apart in the two renderers
        // count as the same lines, while a missing or misplaced shape shows.
        const int width = 48;
        const int height = std::max(1, theirs.height * width / theirs.width);
        const double difference = testing::meanGreyDifference(
            testing::scaleTo(testing::cropToInk(*ours, page), width, height),
            testing::scaleTo(theirs, width, height));
        RecordProperty(name, std::to_string(difference));
        EXPECT_LT(difference, 6.0) << name;
    }
}

}  // namespace
}  // namespace pictavo::imaging
