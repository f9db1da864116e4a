// The shared rasteriser: exact coverage, both fill rules, strokes, clipping
// and the stroke font.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "imaging/vector/path_painter.h"
#include "imaging/vector/picture_size.h"
#include "imaging/vector/stroke_font.h"

namespace pictavo::imaging::vector {
namespace {

constexpr Pixel kWhite = rgb(255, 255, 255);
constexpr Pixel kBlack = rgb(0, 0, 0);

// How much ink a pixel holds on a white page: 0 (none) to 255 (black).
int ink(const Image& image, int x, int y) {
    return 255 - green(image.at(x, y));
}

Pen pen(double width, LineCap cap = LineCap::Round, LineJoin join = LineJoin::Round) {
    Pen made;
    made.width = width;
    made.cap = cap;
    made.join = join;
    return made;
}

double totalInk(const Image& image) {
    double sum = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) sum += ink(image, x, y) / 255.0;
    }
    return sum;
}

Path square(double left, double top, double size) {
    Path path;
    path.addRectangle({left, top}, {left + size, top + size});
    return path;
}

TEST(Rasterizer, CoversEdgePixelsByTheirExactArea) {
    Image image(10, 4, kWhite);
    PathPainter canvas(image);
    Path path;
    path.addRectangle({2.5, 1.0}, {5.5, 2.25});
    canvas.fillPath(path, {}, FillRule::NonZero, kBlack);
    EXPECT_EQ(ink(image, 1, 1), 0);
    EXPECT_NEAR(ink(image, 2, 1), 128, 1);
    EXPECT_EQ(ink(image, 3, 1), 255);
    EXPECT_EQ(ink(image, 4, 1), 255);
    EXPECT_NEAR(ink(image, 5, 1), 128, 1);
    EXPECT_EQ(ink(image, 6, 1), 0);
    EXPECT_NEAR(ink(image, 3, 2), 64, 1);  // a quarter of the row
    EXPECT_NEAR(ink(image, 2, 2), 32, 1);  // an eighth: half by a quarter
    EXPECT_EQ(ink(image, 3, 0), 0);
    EXPECT_EQ(ink(image, 3, 3), 0);
}

TEST(Rasterizer, AreaOfACircleMatchesItsGeometry) {
    Image image(64, 64, kWhite);
    PathPainter canvas(image);
    Path path;
    path.addEllipse({32.3, 31.7}, 20, 20);
    canvas.fillPath(path, {}, FillRule::NonZero, kBlack);
    EXPECT_NEAR(totalInk(image), std::numbers::pi * 400, std::numbers::pi * 400 * 0.005);
    EXPECT_EQ(ink(image, 32, 32), 255);
    EXPECT_EQ(ink(image, 2, 2), 0);
}

TEST(Rasterizer, FillRulesDifferOnNestedContours) {
    Path nestedSameWay = square(2, 2, 16);
    nestedSameWay.addRectangle({6, 6}, {14, 14});
    for (const FillRule rule : {FillRule::NonZero, FillRule::EvenOdd}) {
        Image image(20, 20, kWhite);
        PathPainter canvas(image);
        canvas.fillPath(nestedSameWay, {}, rule, kBlack);
        EXPECT_EQ(ink(image, 3, 10), 255);
        EXPECT_EQ(ink(image, 10, 10), rule == FillRule::NonZero ? 255 : 0);
    }
    // A hole wound the other way is a hole under both rules.
    Path withHole = square(2, 2, 16);
    withHole.addPolygon({{6, 6}, {6, 14}, {14, 14}, {14, 6}});
    Image image(20, 20, kWhite);
    PathPainter canvas(image);
    canvas.fillPath(withHole, {}, FillRule::NonZero, kBlack);
    EXPECT_EQ(ink(image, 10, 10), 0);
    EXPECT_EQ(ink(image, 3, 10), 255);
}

TEST(Rasterizer, ShapesCutByTheEdgesKeepTheirVisiblePart) {
    // The same square drawn inside and hanging over each side must cover the
    // visible pixels identically.
    Image inside(40, 40, kWhite);
    PathPainter(inside).fillPath(square(10.3, 10.6, 20), {}, FillRule::NonZero, kBlack);
    Image over(40, 40, kWhite);
    PathPainter overCanvas(over);
    overCanvas.fillPath(square(10.3 - 25, 10.6, 20), {}, FillRule::NonZero, kBlack);
    overCanvas.fillPath(square(10.3 + 25, 10.6 - 25, 20), {}, FillRule::NonZero, kBlack);
    for (int y = 0; y < 40; ++y) {
        // Left neighbour: columns 0..5 match the inside square's columns 25..30.
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(ink(over, x, y), ink(inside, x + 25, y)) << x << "," << y;
        // The upper right one: columns 35..39, rows 0..5.
        if (y < 6) {
            for (int x = 35; x < 40; ++x) EXPECT_EQ(ink(over, x, y), ink(inside, x - 25, y + 25));
        }
    }
}

TEST(Rasterizer, SurvivesAbsurdCoordinates) {
    Image image(16, 16, kWhite);
    PathPainter canvas(image);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double huge = 1e300;
    std::vector<Contour> contours = {
        {{{-huge, -huge}, {huge, -huge}, {huge, huge}, {-huge, huge}}, true},
        {{{nan, 1}, {4, nan}, {8, 8}}, true},
        {{{1e9, 1}, {-1e9, 2}, {3, 1e9}}, true},
    };
    canvas.fill(contours, FillRule::EvenOdd, kBlack);
    canvas.fill({contours[0]}, FillRule::NonZero, kBlack);
    EXPECT_EQ(ink(image, 8, 8), 255);  // the last fill covers everything
}

TEST(PathPainter, FillNeedingTooManyCellsIsDroppedAndExhaustsTheCanvas) {
    // A polygon zigzagging across the whole width thousands of times.
    Image image(2000, 600, kWhite);
    PathPainter canvas(image);
    Contour zigzag;
    zigzag.closed = true;
    for (int i = 0; i < 6000; ++i) zigzag.points.push_back({i % 2 ? 2000.0 : 0.0, i * 0.1});
    EXPECT_FALSE(canvas.stopped());
    canvas.fill({zigzag}, FillRule::EvenOdd, kBlack);
    EXPECT_TRUE(canvas.stopped());
    EXPECT_EQ(totalInk(image), 0);
}

TEST(PathPainter, ClipKeepsPaintInsideTheRectangle) {
    Image image(20, 20, kWhite);
    PathPainter canvas(image);
    canvas.setClip(5, 5, 10, 10);
    canvas.fillPath(square(0, 0, 20), {}, FillRule::NonZero, kBlack);
    EXPECT_EQ(ink(image, 4, 7), 0);
    EXPECT_EQ(ink(image, 5, 5), 255);
    EXPECT_EQ(ink(image, 9, 9), 255);
    EXPECT_EQ(ink(image, 10, 9), 0);
    canvas.resetClip();
    canvas.fillPath(square(0, 0, 20), {}, FillRule::NonZero, rgb(255, 0, 0));
    EXPECT_EQ(image.at(0, 0), rgb(255, 0, 0));
}

TEST(PathPainter, TilesRepeatFromTheDeviceOrigin) {
    auto tile = std::make_shared<Tile>(Tile{2, 1, {kBlack, 0x00FFFFFFu}});
    Image image(6, 2, kWhite);
    PathPainter canvas(image);
    canvas.fillPath(square(0, 0, 6), {}, FillRule::NonZero, Paint(kBlack, tile));
    EXPECT_EQ(image.at(0, 0), kBlack);
    EXPECT_EQ(image.at(1, 0), kWhite);  // transparent tile pixel leaves the page
    EXPECT_EQ(image.at(4, 1), kBlack);
}

TEST(PathPainter, DrawsImagesMirroredWhenTheDestinationIsFlipped) {
    Image source(2, 1);
    source.at(0, 0) = rgb(255, 0, 0);
    source.at(1, 0) = rgb(0, 0, 255);
    Image image(4, 2, kWhite);
    PathPainter canvas(image);
    canvas.drawImage(source, {0, 0, 2, 1}, {4, 0, 0, 2});
    EXPECT_EQ(image.at(0, 0), rgb(0, 0, 255));
    EXPECT_EQ(image.at(3, 1), rgb(255, 0, 0));
}

TEST(Stroker, LineOfWidthTwoCoversTwoRows) {
    Image image(20, 10, kWhite);
    PathPainter canvas(image);
    Path path;
    path.moveTo({2, 5});
    path.lineTo({18, 5});
    canvas.strokePath(path, {}, pen(2, LineCap::Butt), kBlack);
    EXPECT_EQ(ink(image, 10, 4), 255);
    EXPECT_EQ(ink(image, 10, 5), 255);
    EXPECT_EQ(ink(image, 10, 3), 0);
    EXPECT_EQ(ink(image, 10, 6), 0);
    EXPECT_EQ(ink(image, 1, 5), 0);  // butt caps end at the points
    EXPECT_NEAR(totalInk(image), 32, 0.01);
}

TEST(Stroker, CornersAreFilledWithoutDoubleInk) {
    // An L drawn with a square-joined pen is exactly two overlapping bars.
    Image image(30, 30, kWhite);
    PathPainter canvas(image);
    Path path;
    path.moveTo({5, 5});
    path.lineTo({25, 5});
    path.lineTo({25, 25});
    canvas.strokePath(path, {}, pen(4, LineCap::Butt, LineJoin::Miter), kBlack);
    EXPECT_EQ(ink(image, 26, 4), 255);  // the miter fills the outer corner
    EXPECT_EQ(ink(image, 26, 3), 255);
    // Two 20 x 4 bars sharing a 2 x 2 square, plus the 2 x 2 miter.
    EXPECT_NEAR(totalInk(image), 80 + 80 - 4 + 4, 0.5);
}

TEST(Stroker, DashesFollowThePattern) {
    const std::vector<Contour> line = {{{{0, 0}, {100, 0}}, false}};
    const auto dashes = applyDashes(line, {10, 5});
    ASSERT_EQ(dashes.size(), 7u);  // 0-10, 15-25, ... 90-100
    EXPECT_DOUBLE_EQ(dashes[1].points.front().x, 15);
    EXPECT_DOUBLE_EQ(dashes[1].points.back().x, 25);
    EXPECT_DOUBLE_EQ(dashes.back().points.back().x, 100);
}

TEST(StrokeFont, DrawsTextAtTheRequestedHeight) {
    Path path;
    appendText(path, U"HI", Transform::translation(10, 40).after(Transform::scaling(30, -30)));
    Image image(100, 50, kWhite);
    PathPainter(image).strokePath(path, {}, pen(2), kBlack);
    // H's left stem runs from the baseline (y=40) up to cap height (y=10).
    EXPECT_GT(ink(image, 10, 25), 200);
    EXPECT_EQ(ink(image, 10, 5), 0);
    EXPECT_GT(ink(image, 10 + 30 + 10, 25), 200);  // I's stem, one advance on
    EXPECT_DOUBLE_EQ(textWidth(U"HI"), kGlyphAdvance + kGlyphInkWidth);
}

TEST(StrokeFont, DecodesTheCodePagesOfDrawings) {
    EXPECT_EQ(fromWindows1252("a\x80\xB0"), U"a\u20AC\u00B0");
    EXPECT_EQ(fromUtf8("a\xC3\xA9\xE2\x82\xAC"), U"a\u00E9\u20AC");
    EXPECT_EQ(fromUtf8("\xC3"), U"\uFFFD");
    EXPECT_EQ(fromUtf8("\xE2\x28\xA1"), U"\uFFFD(\uFFFD");
}

TEST(PictureSize, MeasuresAndFitsDrawings) {
    auto size = sizeFromInches(1, 0.5);
    ASSERT_TRUE(size);
    EXPECT_EQ(size->width, 96);
    EXPECT_EQ(size->height, 48);
    EXPECT_EQ(sizeFromInches(1000, 1).error().message, "picture too large: 96000 x 96");
    const PixelSize fitted = fitToTarget(200, 100, 0, 0);
    EXPECT_EQ(fitted.width, 1024);
    EXPECT_EQ(fitted.height, 512);
    const PixelSize tall = fitToTarget(100, 200, 800, 600);
    EXPECT_EQ(tall.width, 300);
    EXPECT_EQ(tall.height, 600);
    EXPECT_EQ(blankPicture({0, 5}, kWhite).error().message, "invalid picture size: 0 x 5");
}

}  // namespace
}  // namespace pictavo::imaging::vector
