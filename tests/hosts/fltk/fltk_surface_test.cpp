#include "hosts/fltk/fltk_surface.h"

#include <gtest/gtest.h>

#include "hosts/fltk/fltk_host.h"
#include "hosts/shared/memory_surface.h"

namespace pictavo::platform::fltk {
namespace {

using imaging::Image;
using imaging::rgb;

// A picture in which every pixel differs from its neighbours.
Image pattern(int width, int height, int seed) {
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.at(x, y) =
                rgb(static_cast<uint8_t>(x * 7 + seed), static_cast<uint8_t>(y * 11 + seed),
                    static_cast<uint8_t>((x + y) * 5 + seed));
    return image;
}

void expectSamePixels(const Image& actual, const Image& expected, const std::string& what) {
    ASSERT_EQ(actual.width, expected.width) << what;
    ASSERT_EQ(actual.height, expected.height) << what;
    int differences = 0;
    for (int y = 0; y < actual.height; ++y)
        for (int x = 0; x < actual.width; ++x)
            if (actual.at(x, y) != expected.at(x, y) && differences++ < 3)
                ADD_FAILURE() << what << ": pixel " << x << "," << y << " is " << std::hex
                              << actual.at(x, y) << ", expected " << expected.at(x, y);
    EXPECT_EQ(differences, 0) << what;
}

// The in-memory surface is the reference every host's blits must match.
class SurfaceAgainstMemory : public ::testing::Test {
  protected:
    void SetUp() override {
        for (Surface* s : {static_cast<Surface*>(&source), static_cast<Surface*>(&referenceSource)})
            s->drawImage(pattern(64, 48, 3), 0, 0);
        for (Surface* s : {static_cast<Surface*>(&target), static_cast<Surface*>(&referenceTarget)})
            s->drawImage(pattern(80, 60, 101), 0, 0);
    }
    void expectMatch(const std::string& what) {
        expectSamePixels(target.snapshot(), referenceTarget.snapshot(), what);
    }

    FltkHost host;  // the display
    FltkSurface source{64, 48};
    FltkSurface target{80, 60};
    MemorySurface referenceSource{64, 48};
    MemorySurface referenceTarget{80, 60};
};

TEST_F(SurfaceAgainstMemory, KeepsEveryColourExactly) {
    expectSamePixels(source.snapshot(), pattern(64, 48, 3), "drawn picture");
}

TEST_F(SurfaceAgainstMemory, CopiesClipAtEveryEdgeOfBothSurfaces) {
    struct Copy {
        int dx, dy, w, h, sx, sy;
    };
    for (Copy c : {Copy{10, 5, 20, 15, 3, 4}, Copy{-7, -3, 30, 20, 0, 0},
                   Copy{70, 50, 30, 30, 10, 10}, Copy{5, 5, 40, 40, -12, -9},
                   Copy{0, 0, 80, 60, 40, 30}, Copy{3, 3, 0, 10, 0, 0}, Copy{3, 3, 10, -4, 0, 0}}) {
        target.copyFrom(source, c.dx, c.dy, c.w, c.h, c.sx, c.sy);
        referenceTarget.copyFrom(referenceSource, c.dx, c.dy, c.w, c.h, c.sx, c.sy);
        expectMatch("copy to " + std::to_string(c.dx) + "," + std::to_string(c.dy) + " from " +
                    std::to_string(c.sx) + "," + std::to_string(c.sy));
    }
}

TEST_F(SurfaceAgainstMemory, CopiesWithinItselfAsIfThroughABuffer) {
    target.copyFrom(target, 4, 3, 50, 40, 0, 0);
    referenceTarget.copyFrom(referenceTarget, 4, 3, 50, 40, 0, 0);
    expectMatch("overlapping copy down and right");
    target.copyFrom(target, 0, 0, 50, 40, 6, 2);
    referenceTarget.copyFrom(referenceTarget, 0, 0, 50, 40, 6, 2);
    expectMatch("overlapping copy up and left");
}

TEST_F(SurfaceAgainstMemory, StretchesWithTheSameNearestPixels) {
    struct Stretch {
        int sx, sy, sw, sh, dx, dy, dw, dh;
    };
    for (Stretch s : {Stretch{0, 0, 64, 48, 0, 0, 80, 60}, Stretch{0, 0, 64, 48, 10, 10, 17, 9},
                      Stretch{5, 7, 20, 10, -15, 20, 120, 50},
                      Stretch{40, 30, 60, 40, 0, 0, 33, 44}, Stretch{0, 0, 64, 48, 0, 0, 0, 10}}) {
        target.stretchFrom(source, s.sx, s.sy, s.sw, s.sh, s.dx, s.dy, s.dw, s.dh);
        referenceTarget.stretchFrom(referenceSource, s.sx, s.sy, s.sw, s.sh, s.dx, s.dy, s.dw,
                                    s.dh);
        expectMatch("stretch " + std::to_string(s.sw) + "x" + std::to_string(s.sh) + " into " +
                    std::to_string(s.dw) + "x" + std::to_string(s.dh));
    }
}

TEST_F(SurfaceAgainstMemory, StretchSeesTheSourceAsItIsNow) {
    // The stretch keeps a copy of the source's pixels between calls; a change
    // to the source must not leave it stale.
    target.stretchFrom(source, 0, 0, 64, 48, 0, 0, 80, 60);
    source.clear(bgr(0, 200, 0));
    referenceSource.clear(bgr(0, 200, 0));
    target.stretchFrom(source, 0, 0, 64, 48, 0, 0, 80, 60);
    referenceTarget.stretchFrom(referenceSource, 0, 0, 64, 48, 0, 0, 80, 60);
    expectMatch("stretch after the source changed");
}

TEST_F(SurfaceAgainstMemory, DrawsPicturesClippedAndCopiesFromOtherSurfaceKinds) {
    Image small = pattern(30, 20, 55);
    target.drawImage(small, -10, 50);
    referenceTarget.drawImage(small, -10, 50);
    expectMatch("picture over the bottom-left corner");
    target.copyFrom(referenceSource, 30, 30, 64, 48, 0, 0);
    referenceTarget.copyFrom(referenceSource, 30, 30, 64, 48, 0, 0);
    expectMatch("copy from a memory surface");
}

TEST(FltkSurface, GrowingKeepsThePictureAndFillsTheRest) {
    FltkHost host;
    FltkSurface surface(20, 10);
    surface.drawImage(pattern(20, 10, 9), 0, 0);
    surface.resizeKeeping(30, 12, bgr(255, 0, 0));
    Image after = surface.snapshot();
    ASSERT_EQ(after.width, 30);
    ASSERT_EQ(after.height, 12);
    EXPECT_EQ(after.at(19, 9), pattern(20, 10, 9).at(19, 9));
    EXPECT_EQ(after.at(25, 5), rgb(255, 0, 0));
    EXPECT_EQ(after.at(5, 11), rgb(255, 0, 0));
}

TEST(FltkSurface, PrintsLinesOneBelowTheOther) {
    FltkHost host;
    FltkSurface surface(400, 100);
    surface.clear(bgr(0, 0, 0));
    surface.setPrintPosition(10, 5);
    Font font{"MS Sans Serif", 12, true};
    surface.printLine("Pictavo", font, bgr(255, 255, 0));
    int second = surface.printY();
    EXPECT_GT(second, 5 + 10);  // at least a 12-point line further down
    surface.printLine("Second line", font, bgr(255, 255, 0));
    EXPECT_EQ(surface.printY() - second, second - 5);

    // Text in the colour lies in the first line's band, starting at the print position.
    Image pixels = surface.snapshot();
    int yellowInFirstLine = 0, leftOfStart = 0;
    for (int y = 5; y < second; ++y)
        for (int x = 0; x < 400; ++x)
            if (pixels.at(x, y) == rgb(255, 255, 0)) (x < 10 ? leftOfStart : yellowInFirstLine)++;
    EXPECT_GT(yellowInFirstLine, 20);
    EXPECT_EQ(leftOfStart, 0);
}

TEST(FltkSurface, TellsItsWindowWhatChanged) {
    FltkHost host;
    FltkSurface target(50, 50), source(50, 50);
    std::vector<PixelRect> changes;
    target.setChangeListener([&](const PixelRect& rect) { changes.push_back(rect); });
    target.copyFrom(source, 40, 45, 20, 20, 0, 0);
    target.copyFrom(source, 60, 0, 5, 5, 0, 0);  // entirely outside: no change
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].x, 40);
    EXPECT_EQ(changes[0].y, 45);
    EXPECT_EQ(changes[0].width, 10);
    EXPECT_EQ(changes[0].height, 5);
}

}  // namespace
}  // namespace pictavo::platform::fltk
