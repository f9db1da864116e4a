// The picture boxes' persistent image on a DIB section: the block transfers
// every transition is drawn with, printing, and what a repaint is told.

#include "hosts/win32/dib_surface.h"

#include <gtest/gtest.h>

#include <vector>

#include "hosts/shared/memory_surface.h"

namespace pictavo::platform::win32 {
namespace {

using imaging::rgb;

constexpr Colour kBlack = bgr(0, 0, 0);

// A surface whose pixel (x, y) has red x and green y.
void paintCoordinates(Surface& surface) {
    imaging::Image image(surface.width(), surface.height());
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            image.at(x, y) = rgb(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 7);
    surface.drawImage(image, 0, 0);
}

TEST(DibSurface, ClearDrawAndSnapshotKeepEveryPixel) {
    DibSurface surface(5, 4, bgr(10, 20, 30));
    EXPECT_EQ(surface.width(), 5);
    EXPECT_EQ(surface.height(), 4);
    EXPECT_EQ(surface.snapshot().at(4, 3), rgb(10, 20, 30));

    imaging::Image dot(2, 2, rgb(200, 100, 50));
    surface.drawImage(dot, -1, 3);  // only its top-right pixel lands
    imaging::Image seen = surface.snapshot();
    EXPECT_EQ(seen.at(0, 3), rgb(200, 100, 50));
    EXPECT_EQ(seen.at(1, 3), rgb(10, 20, 30));
    EXPECT_EQ(seen.at(0, 2), rgb(10, 20, 30));

    surface.clear(0x80000005u);  // a system colour: the window background
    COLORREF window = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(surface.snapshot().at(2, 2),
              rgb(GetRValue(window), GetGValue(window), GetBValue(window)));
}

TEST(DibSurface, BlockTransfersCopyClipAndOverlap) {
    DibSurface source(8, 8, kBlack);
    paintCoordinates(source);
    DibSurface target(6, 6, bgr(1, 1, 1));

    target.copyFrom(source, 1, 2, 3, 2, 4, 5);
    imaging::Image seen = target.snapshot();
    EXPECT_EQ(seen.at(1, 2), rgb(4, 5, 7));
    EXPECT_EQ(seen.at(3, 3), rgb(6, 6, 7));
    EXPECT_EQ(seen.at(4, 3), rgb(1, 1, 1));  // right of the rectangle

    // A rectangle reaching past both surfaces copies what lies inside them.
    target.copyFrom(source, 4, 4, 10, 10, 6, 6);
    seen = target.snapshot();
    EXPECT_EQ(seen.at(4, 4), rgb(6, 6, 7));
    EXPECT_EQ(seen.at(5, 5), rgb(7, 7, 7));

    // Nothing for an empty rectangle.
    target.copyFrom(source, 0, 0, 0, 5, 0, 0);
    EXPECT_EQ(target.snapshot().at(0, 0), rgb(1, 1, 1));

    // Within one surface, overlapping: a scroll by one row.
    source.copyFrom(source, 0, 1, 8, 7, 0, 0);
    seen = source.snapshot();
    EXPECT_EQ(seen.at(3, 1), rgb(3, 0, 7));
    EXPECT_EQ(seen.at(3, 7), rgb(3, 6, 7));
}

TEST(DibSurface, CopiesFromASurfaceOfAnotherKind) {
    MemorySurface memory(4, 4);
    paintCoordinates(memory);
    DibSurface target(4, 4, kBlack);
    target.copyFrom(memory, 0, 0, 2, 2, 2, 1);
    EXPECT_EQ(target.snapshot().at(1, 1), rgb(3, 2, 7));
    EXPECT_EQ(target.snapshot().at(2, 2), rgb(0, 0, 0));

    target.stretchFrom(memory, 2, 2, 2, 2, 0, 0, 4, 4);
    EXPECT_EQ(target.snapshot().at(1, 1), rgb(2, 2, 7));
    EXPECT_EQ(target.snapshot().at(3, 2), rgb(3, 3, 7));
}

TEST(DibSurface, StretchDrawScalesWholePixels) {
    DibSurface source(2, 2, kBlack);
    paintCoordinates(source);
    DibSurface target(6, 6, bgr(9, 9, 9));
    target.stretchFrom(source, 0, 0, 2, 2, 1, 1, 4, 4);
    imaging::Image seen = target.snapshot();
    EXPECT_EQ(seen.at(1, 1), rgb(0, 0, 7));
    EXPECT_EQ(seen.at(2, 2), rgb(0, 0, 7));
    EXPECT_EQ(seen.at(3, 2), rgb(1, 0, 7));
    EXPECT_EQ(seen.at(4, 4), rgb(1, 1, 7));
    EXPECT_EQ(seen.at(5, 5), rgb(9, 9, 9));
    EXPECT_EQ(seen.at(0, 0), rgb(9, 9, 9));
}

TEST(DibSurface, PrintsLinesDownwardsInTheFontAndColour) {
    DibSurface surface(200, 80, kBlack);
    surface.setPrintPosition(10, 5);
    Font bold{"MS Sans Serif", 8.25, true};
    surface.printLine("Hello", bold, bgr(255, 0, 0));
    const int firstLineEnd = surface.printY();
    EXPECT_GT(firstLineEnd, 5 + 8);  // at least the characters' height below
    EXPECT_LT(firstLineEnd, 5 + 30);

    imaging::Image seen = surface.snapshot();
    int red = 0, elsewhere = 0;
    for (int y = 0; y < seen.height; ++y)
        for (int x = 0; x < seen.width; ++x) {
            if (seen.at(x, y) == rgb(0, 0, 0)) continue;
            bool inLine = x >= 10 && y >= 5 && y < firstLineEnd;
            (inLine ? red : elsewhere) += 1;
        }
    EXPECT_GT(red, 20);
    EXPECT_EQ(elsewhere, 0);

    // The next line starts at the left edge, below the first; a bigger font
    // takes more room.
    surface.printLine("Hello", Font{"MS Sans Serif", 24, true}, bgr(0, 255, 0));
    EXPECT_GT(surface.printY() - firstLineEnd, firstLineEnd - 5);
    bool greenAtLeftEdge = false;
    seen = surface.snapshot();
    for (int y = firstLineEnd; y < surface.printY() && !greenAtLeftEdge; ++y)
        for (int x = 0; x < 10 && !greenAtLeftEdge; ++x)
            greenAtLeftEdge = imaging::green(seen.at(x, y)) > 128;
    EXPECT_TRUE(greenAtLeftEdge);
}

TEST(DibSurface, PresentReportsTheChangedAreaOnce) {
    DibSurface surface(100, 100, kBlack);
    std::vector<RECT> reported;
    surface.setPresenter([&](const RECT& changed) { reported.push_back(changed); });
    surface.present();
    EXPECT_TRUE(reported.empty());  // nothing changed since it was made

    DibSurface source(10, 10, bgr(5, 5, 5));
    surface.copyFrom(source, 10, 20, 5, 5, 0, 0);
    surface.copyFrom(source, 40, 30, 5, 5, 0, 0);
    surface.copyFrom(source, 95, 95, 10, 10, 0, 0);  // clipped to the surface
    surface.present();
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].left, 10);
    EXPECT_EQ(reported[0].top, 20);
    EXPECT_EQ(reported[0].right, 100);
    EXPECT_EQ(reported[0].bottom, 100);
    surface.present();
    EXPECT_EQ(reported.size(), 1u);
}

TEST(DibSurface, GrowingKeepsThePicture) {
    DibSurface surface(4, 4, kBlack);
    paintCoordinates(surface);
    surface.resizeKeeping(6, 3, bgr(50, 60, 70));
    imaging::Image seen = surface.snapshot();
    ASSERT_EQ(seen.width, 6);
    ASSERT_EQ(seen.height, 3);
    EXPECT_EQ(seen.at(3, 2), rgb(3, 2, 7));
    EXPECT_EQ(seen.at(5, 0), rgb(50, 60, 70));

    surface.resize(0, 0);  // an empty box draws nothing, and nothing fails
    surface.clear(kBlack);
    surface.copyFrom(surface, 0, 0, 5, 5, 0, 0);
    EXPECT_TRUE(surface.snapshot().empty());
}

}  // namespace
}  // namespace pictavo::platform::win32
