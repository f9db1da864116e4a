#include "hosts/shared/memory_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "hosts/shared/bitmap_font.h"
#include "hosts/shared/colour_pixels.h"

namespace pictavo::platform {
namespace {

using imaging::Image;
using imaging::Pixel;

// Pixel value naming its own position, so a misplaced copy shows.
Pixel numbered(int x, int y) {
    return 0xFF000000u | static_cast<uint32_t>(x * 1000 + y);
}

MemorySurface numberedSurface(int w, int h) {
    Image image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.at(x, y) = numbered(x, y);
    return MemorySurface(std::move(image));
}

constexpr Pixel kBlank = 0xFF000000u;

// The reference: pixel by pixel, whatever falls outside either picture skipped.
Image referenceCopy(const Image& src, Image dst, int dx, int dy, int w, int h, int sx, int sy) {
    // Only offsets that can land anywhere are visited, so huge sizes stay cheap.
    auto first = [](long long d, long long s) { return std::max({0LL, -d, -s}); };
    const long long jEnd = std::min<long long>(h, first(dy, sy) + dst.height + 1);
    const long long iEnd = std::min<long long>(w, first(dx, sx) + dst.width + 1);
    for (long long j = first(dy, sy); j < jEnd; ++j)
        for (long long i = first(dx, sx); i < iEnd; ++i) {
            long long tx = dx + i, ty = dy + j, fx = sx + i, fy = sy + j;
            if (tx < 0 || ty < 0 || tx >= dst.width || ty >= dst.height) continue;
            if (fx < 0 || fy < 0 || fx >= src.width || fy >= src.height) continue;
            dst.at(static_cast<int>(tx), static_cast<int>(ty)) =
                src.at(static_cast<int>(fx), static_cast<int>(fy));
        }
    return dst;
}

struct Rect {
    int dx, dy, w, h, sx, sy;
};

TEST(MemorySurfaceCopy, ClipsLikeABlockTransfer) {
    const MemorySurface source = numberedSurface(13, 9);
    const Rect cases[] = {
        {0, 0, 13, 9, 0, 0},
        {2, 3, 4, 5, 1, 1},
        {-3, -2, 6, 6, 0, 0},
        {0, 0, 6, 6, -3, -2},
        {10, 7, 8, 8, 0, 0},
        {0, 0, 8, 8, 10, 7},
        {-5, 4, 30, 2, 2, 0},
        {4, 4, 5, 5, 11, 8},
        {0, 0, 0, 5, 0, 0},
        {0, 0, 5, -1, 0, 0},
        {13, 0, 4, 4, 0, 0},
        {0, 9, 4, 4, 0, 0},
        {0, 0, 4, 4, 13, 0},
        {-4, -4, 4, 4, 0, 0},
        {3, 2, 4, 4, -4, -4},
        {-20, -20, 40, 40, 0, 0},
        {0, 0, INT_MAX, INT_MAX, 0, 0},
        {INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MIN, 0},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX, 0, 0},
        {2, 2, 3, 3, INT_MAX, INT_MAX},
    };
    for (const Rect& r : cases) {
        MemorySurface target(11, 8, kBlank);
        target.copyFrom(source, r.dx, r.dy, r.w, r.h, r.sx, r.sy);
        Image expected =
            referenceCopy(source.image(), Image(11, 8, kBlank), r.dx, r.dy, r.w, r.h, r.sx, r.sy);
        EXPECT_EQ(target.image().pixels, expected.pixels)
            << "copy " << r.dx << ' ' << r.dy << ' ' << r.w << ' ' << r.h << ' ' << r.sx << ' '
            << r.sy;
    }
}

TEST(MemorySurfaceCopy, CountsOnlyThePixelsWritten) {
    const MemorySurface source = numberedSurface(10, 10);
    MemorySurface target(10, 10);
    target.copyFrom(source, -2, 8, 5, 5, 0, 0);  // 3 x 2 land
    target.copyFrom(source, 0, 0, 10, 0, 0, 0);
    EXPECT_EQ(target.pixelsBlitted(), 6u);
}

TEST(MemorySurfaceCopy, WithinOneSurfaceOverlapsLikeAMoveInEveryDirection) {
    const Rect moves[] = {{0, 3, 12, 5, 0, 0}, {0, 0, 12, 5, 0, 3}, {2, 1, 6, 5, 0, 0},
                          {0, 0, 6, 5, 2, 1},  {3, 0, 7, 8, 0, 0},  {0, 0, 7, 8, 3, 0},
                          {1, 2, 12, 9, 0, 0}};
    for (const Rect& r : moves) {
        MemorySurface surface = numberedSurface(12, 9);
        Image before = surface.image();
        surface.copyFrom(surface, r.dx, r.dy, r.w, r.h, r.sx, r.sy);
        EXPECT_EQ(surface.image().pixels,
                  referenceCopy(before, before, r.dx, r.dy, r.w, r.h, r.sx, r.sy).pixels)
            << "move to " << r.dx << ',' << r.dy << " from " << r.sx << ',' << r.sy;
    }
}

TEST(MemorySurfaceStretch, EqualSizesAreAnExactCopy) {
    const MemorySurface source = numberedSurface(20, 10);
    MemorySurface target(20, 10, kBlank);
    target.stretchFrom(source, 0, 0, 20, 10, 0, 0, 20, 10);
    EXPECT_EQ(target.image().pixels, source.image().pixels);
}

TEST(MemorySurfaceStretch, EnlargesAndShrinksByNearestPixel) {
    const MemorySurface source = numberedSurface(2, 2);
    MemorySurface big(4, 4, kBlank);
    big.stretchFrom(source, 0, 0, 2, 2, 0, 0, 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(big.image().at(x, y), numbered(x / 2, y / 2)) << x << ',' << y;

    const MemorySurface wide = numberedSurface(8, 6);
    MemorySurface small(2, 2, kBlank);
    small.stretchFrom(wide, 0, 0, 8, 6, 0, 0, 2, 2);
    // Pixel centres: (0.5 x 4, 0.5 x 3) = (2, 1) and (1.5 x 4, 1.5 x 3) = (6, 4).
    EXPECT_EQ(small.image().at(0, 0), numbered(2, 1));
    EXPECT_EQ(small.image().at(1, 1), numbered(6, 4));
    EXPECT_EQ(small.pixelsBlitted(), 4u);
}

TEST(MemorySurfaceStretch, ScalingOnlyTheHeightKeepsEveryColumn) {
    const MemorySurface source = numberedSurface(5, 2);
    MemorySurface target(4, 6, kBlank);
    target.stretchFrom(source, 0, 0, 5, 2, -1, 0, 5,
                       6);  // each row three times, the first column off the edge
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(target.image().at(x, y), numbered(x + 1, y / 3)) << x << ',' << y;
}

TEST(MemorySurfaceStretch, IsClippedToBothPicturesAndIgnoresEmptyRectangles) {
    const MemorySurface source = numberedSurface(4, 4);
    MemorySurface target(6, 6, kBlank);
    // Twice the size, half of it off the top-left corner.
    target.stretchFrom(source, 0, 0, 4, 4, -4, -4, 8, 8);
    EXPECT_EQ(target.image().at(0, 0), numbered(2, 2));
    EXPECT_EQ(target.image().at(3, 3), numbered(3, 3));
    EXPECT_EQ(target.image().at(4, 4), kBlank);
    EXPECT_EQ(target.pixelsBlitted(), 16u);

    // A source rectangle reaching past the source: those samples are skipped.
    MemorySurface partly(4, 4, kBlank);
    partly.stretchFrom(source, 2, 0, 4, 4, 0, 0, 2, 2);
    EXPECT_EQ(partly.image().at(0, 0), numbered(3, 1));
    EXPECT_EQ(partly.image().at(1, 0), kBlank);

    MemorySurface untouched(4, 4, kBlank);
    untouched.stretchFrom(source, 0, 0, 4, 4, 0, 0, 0, 3);
    untouched.stretchFrom(source, 0, 0, -4, 4, 0, 0, 3, 3);
    untouched.stretchFrom(source, 0, 0, 4, 4, INT_MAX - 1, 0, 3, 3);
    untouched.stretchFrom(source, 0, 0, 4, 4, 0, 0, 16384, 16384);  // all of it, clipped
    EXPECT_EQ(untouched.pixelsBlitted(), 16u);
}

TEST(MemorySurfaceDrawImage, PaintsClipped) {
    MemorySurface target(5, 5, kBlank);
    target.drawImage(numberedSurface(3, 3).image(), 3, -1);
    EXPECT_EQ(target.image().at(3, 0), numbered(0, 1));
    EXPECT_EQ(target.image().at(4, 1), numbered(1, 2));
    EXPECT_EQ(target.image().at(2, 0), kBlank);
    EXPECT_EQ(target.image().at(3, 2), kBlank);
}

TEST(SurfaceColours, LayoutColoursAndSystemColoursBecomePixels) {
    EXPECT_EQ(pixelFromColour(0x000000FFu), imaging::rgb(255, 0, 0));
    EXPECT_EQ(pixelFromColour(0x00C0C0C0u), imaging::rgb(192, 192, 192));
    EXPECT_EQ(pixelFromColour(0x8000000Fu), imaging::rgb(192, 192, 192));  // button face
    EXPECT_EQ(pixelFromColour(0x80000005u), imaging::rgb(255, 255, 255));  // window
    EXPECT_EQ(pixelFromColour(0x800000FFu), imaging::rgb(0, 0, 0));
    MemorySurface surface(2, 2);
    surface.clear(0x00FF0000u);
    EXPECT_EQ(surface.image().at(1, 1), imaging::rgb(0, 0, 255));
}

int inkIn(const MemorySurface& s, Pixel ink, int y0, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < s.width(); ++x) n += s.image().at(x, y) == ink ? 1 : 0;
    return n;
}

TEST(MemorySurfaceText, PrintsLinesOfTheFontsPixelHeightInTheColourOnly) {
    const Pixel background = imaging::rgb(1, 2, 3);
    MemorySurface surface(400, 200, background);
    Font font{"MS Sans Serif", 8.25, false};
    EXPECT_EQ(fontPixelHeight(font), 11);
    surface.printLine("Hello, world", font, 0x00C0C0C0u);
    EXPECT_EQ(surface.printY(), 11);
    const Pixel grey = imaging::rgb(192, 192, 192);
    EXPECT_GT(inkIn(surface, grey, 0, 11), 40);
    EXPECT_EQ(inkIn(surface, grey, 11, 200), 0);
    // Nothing but ink and the untouched background.
    for (Pixel p : surface.image().pixels) EXPECT_TRUE(p == grey || p == background);

    font.points = 40;
    EXPECT_EQ(fontPixelHeight(font), 53);
    surface.printLine("Hg", font, 0x000000FFu);
    EXPECT_EQ(surface.printY(), 64);
    const Pixel red = imaging::rgb(255, 0, 0);
    EXPECT_GT(inkIn(surface, red, 11, 64), 200);
    EXPECT_EQ(inkIn(surface, red, 0, 11) + inkIn(surface, red, 64, 200), 0);
}

TEST(MemorySurfaceText, BoldIsHeavierAndUnknownCharactersShowAQuestionMark) {
    Font regular{"MS Sans Serif", 24, false};
    Font bold{"MS Sans Serif", 24, true};
    const Pixel white = imaging::rgb(255, 255, 255);
    MemorySurface a(200, 40), b(200, 40);
    a.printLine("Pictavo", regular, 0x00FFFFFFu);
    b.printLine("Pictavo", bold, 0x00FFFFFFu);
    EXPECT_GT(inkIn(b, white, 0, 40), inkIn(a, white, 0, 40) * 5 / 4);

    MemorySurface odd(100, 40), question(100, 40);
    odd.setPrintPosition(5, 3);
    question.setPrintPosition(5, 3);
    odd.printLine("\xC3\xA9\x7F", regular, 0x00FFFFFFu);
    question.printLine("???", regular, 0x00FFFFFFu);
    EXPECT_EQ(odd.image().pixels, question.image().pixels);
    EXPECT_EQ(glyphFor('?').rows, glyphFor('\x01').rows);
    EXPECT_EQ(odd.printY(), 3 + 32);
}

TEST(MemorySurfaceText, PrintingOutsideTheSurfaceIsClipped) {
    MemorySurface surface(10, 10);
    surface.setPrintPosition(-30, -5);
    surface.printLine("WWWWWWWWWW", Font{"MS Sans Serif", 12, true}, 0x00FFFFFFu);
    surface.setPrintPosition(8, 8);
    surface.printLine("WWWW", Font{"MS Sans Serif", 12, true}, 0x00FFFFFFu);
    EXPECT_EQ(surface.width(), 10);
}

}  // namespace
}  // namespace pictavo::platform
