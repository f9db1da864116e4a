// The picture sink: what a decoder's rows become for each target. Scaled as
// the rows come, a picture has exactly the pixels of the whole picture turned
// upright and resampled, whatever its turn, the order of its rows, the
// direction of the scaling and the rows it skips.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/alpha.h"
#include "imaging/picture_sink.h"
#include "imaging/resample.h"
#include "reference_images.h"

namespace pictavo::imaging::testing {
namespace {

constexpr int kStoredWidth = 37;
constexpr int kStoredHeight = 23;

// The stored picture turned upright, the way a whole decode gives it.
Image upright(const Image& stored, Orientation orientation) {
    UprightWriter writer(orientation, stored.width, stored.height);
    for (int y = 0; y < stored.height; ++y)
        writer.writeRow(y, 0,
                        {&stored.pixels[static_cast<size_t>(y) * stored.width],
                         static_cast<size_t>(stored.width)});
    return writer.take();
}

Image resampled(const Image& source, int width, int height) {
    auto result = resample(source, width, height);
    EXPECT_TRUE(result.ok());
    return result ? std::move(result).value() : Image();
}

PictureSink open(const Target& target, Orientation orientation, const Image& stored,
                 PictureSink::Arrival arrival = PictureSink::Arrival::Rows,
                 PictureSink::Alpha alpha = PictureSink::Alpha::AsStored) {
    PictureSink::Layout layout;
    layout.orientation = orientation;
    layout.storedWidth = stored.width;
    layout.storedHeight = stored.height;
    layout.arrival = arrival;
    layout.alpha = alpha;
    auto sink = PictureSink::open(target, layout);
    EXPECT_TRUE(sink.ok());
    return std::move(sink).value();
}

void writeAll(PictureSink& sink, const Image& stored) {
    for (int y = 0; y < stored.height; ++y)
        sink.writeRow(y, 0,
                      {&stored.pixels[static_cast<size_t>(y) * stored.width],
                       static_cast<size_t>(stored.width)});
}

// Shrinking more across than down, more down than across (the two orders of
// the passes), growing, and both at once.
const std::vector<std::pair<int, int>> kOutputs = {{9, 7}, {30, 4}, {4, 30}, {80, 61}, {60, 9}};

TEST(PictureSink, ScaledAsTheRowsComeItEqualsTheWholePictureResampled) {
    const Image stored = testPattern(kStoredWidth, kStoredHeight);
    for (int turn = 1; turn <= 8; ++turn) {
        const auto orientation = static_cast<Orientation>(turn);
        const Image whole = upright(stored, orientation);
        for (auto [w, h] : kOutputs) {
            PictureSink sink = open(Target::stretch(w, h), orientation, stored);
            ASSERT_TRUE(sink.scaling());
            writeAll(sink, stored);
            const Image scaled = sink.take();
            EXPECT_EQ(differences(resampled(whole, w, h), scaled), "")
                << "orientation " << turn << " at " << w << " x " << h;
            EXPECT_EQ(scaled.pictureWidth(), whole.width);
        }
    }
}

TEST(PictureSink, SkippedRowsAndRowsBackwardsScaleLikeFillInPlace) {
    const Pixel fill = rgb(10, 200, 30);
    Image stored = testPattern(kStoredWidth, kStoredHeight);
    for (int y = 3; y < kStoredHeight; y += 4) std::fill_n(&stored.at(0, y), kStoredWidth, fill);
    for (auto [w, h] : kOutputs) {
        PictureSink::Layout layout;
        layout.orientation = Orientation::MirroredTopBottom;
        layout.storedWidth = kStoredWidth;
        layout.storedHeight = kStoredHeight;
        layout.fill = fill;
        auto sink = PictureSink::open(Target::stretch(w, h), layout);
        ASSERT_TRUE(sink.ok());
        // From the last row up; the filled rows are skipped, the last two
        // are never mentioned at all.
        for (int y = kStoredHeight - 3; y >= 0; --y) {
            if (y % 4 == 3) {
                sink->fillRows(y, 1);
            } else {
                sink->writeRow(y, 0, {&stored.at(0, y), static_cast<size_t>(kStoredWidth)});
            }
        }
        std::fill_n(&stored.at(0, kStoredHeight - 2), 2 * kStoredWidth, fill);
        EXPECT_EQ(differences(resampled(upright(stored, Orientation::MirroredTopBottom), w, h),
                              sink->take()),
                  "")
            << w << " x " << h;
    }
}

TEST(PictureSink, PiecesInAnyOrderComeWithinALevelOfTheWholePictureResampled) {
    const Image stored = testPattern(kStoredWidth, kStoredHeight);
    for (int turn : {1, 6}) {
        const auto orientation = static_cast<Orientation>(turn);
        for (auto [w, h] : kOutputs) {
            PictureSink sink =
                open(Target::stretch(w, h), orientation, stored, PictureSink::Arrival::Pieces);
            // Odd columns of every row first, then the even ones bottom up.
            std::vector<Pixel> piece;
            for (int start : {1, 0}) {
                for (int row = 0; row < kStoredHeight; ++row) {
                    const int y = start == 1 ? row : kStoredHeight - 1 - row;
                    piece.clear();
                    for (int x = start; x < kStoredWidth; x += 2) piece.push_back(stored.at(x, y));
                    sink.writeRow(y, start, piece, 2);
                }
            }
            EXPECT_EQ(
                differences(resampled(upright(stored, orientation), w, h), sink.take(), {1, true}),
                "")
                << "orientation " << turn << " at " << w << " x " << h;
        }
    }
}

TEST(PictureSink, AnAlphaChannelOfZerosMeansOpaqueScaledOrNot) {
    Image stored = testPattern(kStoredWidth, kStoredHeight);
    for (Pixel& p : stored.pixels) p &= 0x00FFFFFFu;
    Image opaque = stored;
    for (Pixel& p : opaque.pixels) p |= 0xFF000000u;
    for (const Target& target : {Target::stretch(9, 7), Target::whole()}) {
        PictureSink sink = open(target, Orientation::Upright, stored, PictureSink::Arrival::Rows,
                                PictureSink::Alpha::OpaqueIfAllZero);
        writeAll(sink, stored);
        const Image expected = target.given() ? resampled(opaque, 9, 7) : opaque;
        EXPECT_EQ(differences(expected, sink.take()), "");
    }
    // One pixel of real alpha, low down: every pixel is laid on black.
    stored.at(5, 20) |= 0x80000000u;
    Image laid = stored;
    layOnBlack(laid);
    PictureSink sink = open(Target::stretch(9, 7), Orientation::Upright, stored,
                            PictureSink::Arrival::Rows, PictureSink::Alpha::OpaqueIfAllZero);
    writeAll(sink, stored);
    EXPECT_EQ(differences(resampled(laid, 9, 7), sink.take()), "");
}

TEST(PictureSink, ACentredPictureKeepsTheWindowOnTheScreenEvenFromPasses) {
    const Image stored = testPattern(kStoredWidth, kStoredHeight);
    PictureSink sink =
        open(Target::centre(20, 10), Orientation::Upright, stored, PictureSink::Arrival::Pieces);
    EXPECT_FALSE(sink.scaling());
    const Rect rows = sink.storedWindow();
    EXPECT_EQ(rows, (Rect{8, 6, 20, 10}));  // (20 - 37) / 2 = -8.5 rounds to -8
    std::vector<Pixel> piece;
    for (int start : {0, 1}) {
        for (int y = 0; y < kStoredHeight; ++y) {
            piece.clear();
            for (int x = start; x < kStoredWidth; x += 2) piece.push_back(stored.at(x, y));
            sink.writeRow(y, start, piece, 2);
        }
    }
    const Image window = sink.take();
    EXPECT_EQ(window.originX, 8);
    EXPECT_EQ(window.pictureWidth(), kStoredWidth);
    Image expected(20, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) expected.at(x, y) = stored.at(8 + x, 6 + y);
    EXPECT_EQ(differences(expected, window), "");
}

TEST(PictureSink, TheCapsFollowTheTarget) {
    PictureSink::Layout layout;
    layout.storedWidth = 30000;
    layout.storedHeight = 4000;
    EXPECT_EQ(PictureSink::open(Target::whole(), layout).error().message,
              "picture too large: 30000 x 4000");
    EXPECT_TRUE(PictureSink::open(Target::stretch(192, 108), layout).ok());
    EXPECT_TRUE(PictureSink::open(Target::centre(192, 108), layout).ok());
    layout.storedWidth = 65536;
    EXPECT_EQ(PictureSink::open(Target::stretch(192, 108), layout).error().message,
              "picture too large: 65536 x 4000");
    layout.storedWidth = 65535;
    layout.storedHeight = 4097;
    EXPECT_EQ(PictureSink::open(Target::centre(192, 108), layout).error().message,
              "picture too large: 65535 x 4097");
}

}  // namespace
}  // namespace pictavo::imaging::testing
