// One work allowance per picture: what a drawing visits counts, not only
// what it paints, and the object table of a metafile stays quick however
// full. The timed runs of the same inputs are in tests/hostile.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/decoders/bmp_dib.h"
#include "imaging/decoders/dxf.h"
#include "imaging/decoders/dxf_text.h"
#include "imaging/decoders/lowest_free_slots.h"
#include "imaging/decoders/wmf.h"
#include "imaging/work_meter.h"

namespace pictavo::imaging {
namespace {

std::string group(int code, const std::string& value) {
    return std::to_string(code) + "\n" + value + "\n";
}

std::vector<uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

// Block E holds what is given; the model inserts it as an array.
std::string arrayOfBlock(const std::string& blockEntities, int columns, int rows) {
    return group(0, "SECTION") + group(2, "BLOCKS") + group(0, "BLOCK") + group(2, "E") +
           blockEntities + group(0, "ENDBLK") + group(0, "ENDSEC") + group(0, "SECTION") +
           group(2, "ENTITIES") + group(0, "INSERT") + group(2, "E") +
           group(70, std::to_string(columns)) + group(71, std::to_string(rows)) + group(44, "1") +
           group(45, "1") + group(0, "LINE") + group(11, "10") + group(21, "10") +
           group(0, "ENDSEC") + group(0, "EOF");
}

TEST(WorkBudget, EmptyArrayCellsCountAgainstTheAllowance) {
    // A thousand by a thousand cells that draw nothing: within the default
    // allowance, but not within one of a few hundred thousand units.
    const auto drawing = bytesOf(arrayOfBlock("", 1000, 1000));
    WorkMeter plenty;
    ASSERT_TRUE(decodeDxf(drawing, 64, 64, plenty));
    EXPECT_GT(plenty.spent(), 2 * 1000 * 1000);
    WorkMeter scant(nullptr, 1000 * 1000);
    auto image = decodeDxf(drawing, 64, 64, scant);
    ASSERT_FALSE(image);
    EXPECT_EQ(image.error().message, "drawing too complex to render");
}

TEST(WorkBudget, NestedEmptyArraysStopWithAnError) {
    const std::string inner =
        group(0, "INSERT") + group(2, "F") + group(70, "1000") + group(71, "1000");
    std::string file = arrayOfBlock(inner, 1000, 1000);
    // Block F, empty, before the others.
    file.insert(file.find(group(0, "BLOCK")),
                group(0, "BLOCK") + group(2, "F") + group(0, "ENDBLK"));
    auto image = decodeDxf(bytesOf(file), 64, 64);
    ASSERT_FALSE(image);
    EXPECT_EQ(image.error().message, "drawing too complex to render");
}

TEST(WorkBudget, CancellingStopsTheDrawing) {
    CancelFlag cancel;
    cancel.cancel();
    WorkMeter meter(&cancel);
    auto image = decodeDxf(bytesOf(arrayOfBlock("", 10, 10)), 64, 64, meter);
    ASSERT_FALSE(image);
    EXPECT_EQ(image.error().message, "decoding cancelled");
}

TEST(WorkBudget, TextTooLongToDrawIsRefused) {
    // Four million characters: their glyphs alone outweigh the allowance.
    const std::string file = group(0, "SECTION") + group(2, "ENTITIES") + group(0, "TEXT") +
                             group(10, "0") + group(20, "0") + group(40, "1") +
                             group(1, std::string(4000000, 'W')) + group(0, "ENDSEC");
    WorkMeter meter;
    auto image = decodeDxf(bytesOf(file), 64, 64, meter);
    ASSERT_FALSE(image);
    EXPECT_EQ(image.error().message, "drawing too complex to render");
}

TEST(WorkBudget, LongTextStillDrawsWhenItFits) {
    // Longer than one stroke of glyphs: drawn in pieces, ink all along.
    const std::string file = group(0, "SECTION") + group(2, "ENTITIES") + group(0, "TEXT") +
                             group(10, "0") + group(20, "0") + group(40, "1") +
                             group(1, std::string(1000, 'H')) + group(0, "ENDSEC");
    auto image = decodeDxf(bytesOf(file), 1000, 50);
    ASSERT_TRUE(image) << image.error().message;
    int inkedColumns = 0;
    for (int x = 0; x < image->width; ++x) {
        for (int y = 0; y < image->height; ++y) {
            if (image->at(x, y) != image->at(0, 0)) {
                ++inkedColumns;
                break;
            }
        }
    }
    EXPECT_GT(inkedColumns, image->width / 2);
}

TEST(WorkBudget, ParagraphWrapIsLinearAndBounded) {
    // No blank to break at and room for one character a line: a search back
    // to the start of the line for every piece would take minutes.
    const std::u32string text(300000, U'M');
    const auto lines = dxf::paragraphLines(text, 1.0, 5000);
    ASSERT_EQ(lines.size(), 5000u);
    EXPECT_EQ(lines.front(), U"M");
    const auto all = dxf::paragraphLines(U"ab cd\\Pef", 2.0);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0], U"ab");
    EXPECT_EQ(all[1], U"cd");
    EXPECT_EQ(all[2], U"ef");
}

TEST(WorkBudget, BitmapPixelsCountAndBigOnesAreRefusedBeforeTheirMemory) {
    // An 8-bit DIB header claiming 8000 x 8000, run-length coded: no rows
    // needed to ask for a quarter of a gigabyte.
    std::vector<uint8_t> dib;
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) dib.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    put(40, 4), put(8000, 4), put(8000, 4), put(1, 2), put(8, 2), put(1, 4);
    for (int i = 0; i < 5; ++i) put(0, 4);
    for (int i = 0; i < 256; ++i) put(0, 4);
    put(0x0100, 2);  // end of bitmap
    auto refused = decodePackedDib(dib, false, {}, 1000 * 1000);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message, "picture too large: 8000 x 8000");
    WorkMeter scant(nullptr, 1000);
    auto stopped = decodePackedDib(dib, false, {}, int64_t{64} << 20, &scant);
    ASSERT_FALSE(stopped);
    EXPECT_EQ(stopped.error().message, "drawing too complex to render");
}

TEST(LowestFreeSlots, GivesTheLowestFreeSlotEvenWhenFull) {
    LowestFreeSlots slots;
    EXPECT_EQ(slots.take(), 0u);
    EXPECT_EQ(slots.take(), 1u);
    EXPECT_EQ(slots.take(), 2u);
    slots.release(1);
    slots.release(1);  // twice: still one free slot
    EXPECT_EQ(slots.take(), 1u);
    EXPECT_EQ(slots.take(), 3u);
    for (size_t i = 4; i < LowestFreeSlots::kSlots; ++i) ASSERT_EQ(slots.take(), i);
    EXPECT_FALSE(slots.take());
    slots.release(64000);
    slots.release(70);
    EXPECT_EQ(slots.take(), 70u);
    EXPECT_EQ(slots.take(), 64000u);
    EXPECT_FALSE(slots.take());
    slots.release(LowestFreeSlots::kSlots);  // no such slot
    EXPECT_FALSE(slots.take());
}

// A metafile that fills its object table, frees one slot near the end and
// makes a green brush: it lands in that slot and fills the rectangle.
TEST(WorkBudget, MetafileWithAFullObjectTableStillFindsTheFreedSlot) {
    std::vector<uint8_t> body;
    auto word = [&](uint32_t v) {
        body.push_back(static_cast<uint8_t>(v));
        body.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto record = [&](uint16_t function, std::vector<uint16_t> params) {
        word(static_cast<uint32_t>(3 + params.size()));
        word(0);
        word(function);
        for (const uint16_t p : params) word(p);
    };
    record(0x020C, {100, 100});                                              // SetWindowExt
    for (int i = 0; i < 70000; ++i) record(0x02FC, {0, 0x00FF, 0x0000, 0});  // red brushes
    record(0x01F0, {65000});                                                 // DeleteObject
    record(0x02FC, {0, 0xFF00, 0x0000, 0});                                  // a green brush
    record(0x012D, {65000});                                                 // SelectObject
    record(0x041B, {100, 100, 0, 0});                                        // Rectangle
    record(0, {});
    std::vector<uint8_t> file;
    auto put = [&](uint32_t v) {
        file.push_back(static_cast<uint8_t>(v));
        file.push_back(static_cast<uint8_t>(v >> 8));
    };
    for (const uint32_t v : {1u, 9u, 0x300u}) put(v);
    put(static_cast<uint32_t>((18 + body.size()) / 2) & 0xFFFF);
    put(static_cast<uint32_t>((18 + body.size()) / 2) >> 16);
    for (int i = 0; i < 4; ++i) put(0);
    file.insert(file.end(), body.begin(), body.end());
    auto image = decodeWmf(file, 100, 100);
    ASSERT_TRUE(image) << image.error().message;
    EXPECT_EQ(image->at(50, 50), rgb(0, 255, 0));
}

}  // namespace
}  // namespace pictavo::imaging
