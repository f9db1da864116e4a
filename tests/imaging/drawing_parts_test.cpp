// The parts the drawing decoders are built from: the curve maths, the DXF
// entities' group tables and the metafile record table.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "imaging/decoders/dxf_entity_groups.h"
#include "imaging/decoders/wmf_record_table.h"
#include "imaging/decoders/wmf_records.h"
#include "imaging/vector/curves.h"

namespace pictavo::imaging {
namespace {

using vector::Point;

double distance(Point a, Point b) {
    return vector::length(a - b);
}

TEST(Curves, BSplinesStartAndEndAtTheirEndPointsWhateverTheirKnots) {
    const std::vector<Point> controls = {{0, 0}, {1, 3}, {4, 3}, {6, -1}, {8, 2}};
    const std::vector<std::vector<double>> knotSets = {
        {},                             // none: clamped uniform
        {0, 0, 0, 0, 0.5, 1, 1, 1, 1},  // clamped, as files write them
        {0, 0, 0, 0, 2, 1, 1, 1, 1},    // out of order
    };
    for (const auto& knots : knotSets) {
        const auto points = vector::sampleBSpline(3, knots, controls, {}, 16, 4096);
        ASSERT_EQ(points.size(), 2 * 16 + 1);
        EXPECT_LT(distance(points.front(), controls.front()), 1e-9);
        EXPECT_LT(distance(points.back(), controls.back()), 1e-9);
    }
    // A degree beyond the points is lowered: two points make a line.
    const auto line = vector::sampleBSpline(7, {}, std::vector<Point>{{0, 0}, {2, 2}}, {}, 4, 100);
    for (const Point p : line) EXPECT_NEAR(p.x, p.y, 1e-9);
    // Never more points than asked, however many spans.
    EXPECT_EQ(vector::sampleBSpline(3, {}, controls, {}, 1000, 50).size(), 51u);
}

TEST(Curves, RationalWeightsPullTheCurveTowardsTheirPoint) {
    const std::vector<Point> controls = {{0, 0}, {1, 1}, {2, 0}};
    const std::vector<double> knots = {0, 0, 0, 1, 1, 1};
    const Point plain = vector::evaluateBSpline(2, knots, controls, {}, 0.5);
    const Point pulled =
        vector::evaluateBSpline(2, knots, controls, std::vector<double>{1, 4, 1}, 0.5);
    EXPECT_NEAR(plain.y, 0.5, 1e-12);
    EXPECT_GT(pulled.y, plain.y);
    EXPECT_NEAR(pulled.x, 1, 1e-12);
}

TEST(Curves, CatmullRomPassesThroughEveryGivenPoint) {
    const std::vector<Point> fit = {{0, 0}, {2, 5}, {4, -3}, {7, 1}};
    const size_t steps = 8;
    const auto points = vector::catmullRomThrough(fit, steps, 4096);
    ASSERT_EQ(points.size(), 1 + (fit.size() - 1) * steps);
    for (size_t i = 0; i < fit.size(); ++i) {
        EXPECT_LT(distance(points[i * steps], fit[i]), 1e-9) << i;
    }
    // Fewer than three points: nothing to smooth.
    EXPECT_EQ(vector::catmullRomThrough(std::vector<Point>{{1, 1}, {2, 2}}, 8, 100).size(), 2u);
}

TEST(Curves, ABulgeOfOneIsAHalfCircleOnTheChord) {
    for (const double bulge : {1.0, -1.0}) {
        vector::Path path;
        path.moveTo({0, 0});
        vector::addBulgeArc(path, {0, 0}, {2, 0}, bulge);
        const auto contours = path.flatten({}, 0.01);
        ASSERT_EQ(contours.size(), 1u);
        double furthest = 0;
        for (const Point p : contours[0].points) {
            EXPECT_NEAR(distance(p, {1, 0}), 1, 0.02);
            furthest = bulge * p.y < 0 ? std::max(furthest, std::abs(p.y)) : furthest;
        }
        // A positive bulge turns counter-clockwise from the start, so going
        // along +x it bows to -y; a negative one to +y.
        EXPECT_NEAR(furthest, 1, 0.02) << bulge;
    }
}

dxf::Pending gathered(dxf::Type type, std::initializer_list<std::pair<int, std::string>> groups) {
    dxf::Pending p;
    p.type = type;
    for (const auto& [code, text] : groups) {
        dxf::Group g;
        g.code = code;
        g.text = text;
        dxf::collectGroup(p, g);
    }
    return p;
}

TEST(DxfEntityGroups, EachEntityReadsACodeAsItsOwnTableSays) {
    // 41: a text's width factor, an insert's y scale, an ellipse's start;
    // a line has no use for it.
    EXPECT_EQ(gathered(dxf::Type::Text, {{41, "2"}}).values[2], 2);
    EXPECT_EQ(gathered(dxf::Type::Insert, {{41, "3"}}).values[1], 3);
    EXPECT_EQ(gathered(dxf::Type::Ellipse, {{41, "4"}}).values[1], 4);
    const auto line = gathered(dxf::Type::Line, {{41, "5"}, {10, "1"}, {21, "6"}});
    for (const double value : line.values) EXPECT_EQ(value, 0);
    EXPECT_EQ(line.corners[0].x, 1);
    EXPECT_EQ(line.corners[1].y, 6);
    EXPECT_TRUE(line.hasSecond);
    // 50: an insert's rotation is its third number, an arc's start its second.
    EXPECT_EQ(gathered(dxf::Type::Insert, {{50, "30"}}).values[2], 30);
    EXPECT_EQ(gathered(dxf::Type::Arc, {{50, "30"}}).values[1], 30);
    // 70: an attribute's flag 1 hides it; a polyline's closes it; an
    // insert's counts its columns.
    EXPECT_TRUE(gathered(dxf::Type::Attrib, {{70, "1"}}).invisible);
    EXPECT_FALSE(gathered(dxf::Type::Text, {{70, "1"}}).invisible);
    EXPECT_TRUE(gathered(dxf::Type::Polyline, {{70, "1"}}).entity.closed);
    EXPECT_EQ(gathered(dxf::Type::Insert, {{70, "4"}, {71, "2"}}).columns, 4);
    // 73 aligns text vertically, 74 attributes.
    EXPECT_EQ(gathered(dxf::Type::Text, {{73, "2"}, {74, "1"}}).entity.verticalAlign, 2);
    EXPECT_EQ(gathered(dxf::Type::Attrib, {{73, "2"}, {74, "1"}}).entity.verticalAlign, 1);
}

TEST(DxfEntityGroups, PointListsAndTheGroupsEveryEntityShares) {
    const auto polyline = gathered(dxf::Type::LwPolyline, {{8, "walls"},
                                                           {62, "3"},
                                                           {10, "1"},
                                                           {20, "2"},
                                                           {42, "0.5"},
                                                           {10, "3"},
                                                           {20, "4"},
                                                           {40, "9"}});
    EXPECT_EQ(polyline.layer, "walls");
    EXPECT_EQ(polyline.entity.colour, 3);
    ASSERT_EQ(polyline.points.size(), 2u);
    EXPECT_EQ(polyline.points[1].y, 4);
    ASSERT_EQ(polyline.bulges.size(), 2u);
    EXPECT_EQ(polyline.bulges[0], 0.5);
    EXPECT_EQ(polyline.bulges[1], 0);
    EXPECT_EQ(polyline.values[0], 0);  // 40 is not a light polyline's
    const auto spline =
        gathered(dxf::Type::Spline, {{71, "2"}, {40, "0"}, {40, "1"}, {11, "5"}, {21, "6"}});
    EXPECT_EQ(spline.degree, 2);
    EXPECT_EQ(spline.knots.size(), 2u);
    ASSERT_EQ(spline.fitPoints.size(), 1u);
    EXPECT_EQ(spline.fitPoints[0].y, 6);
    const auto paragraph = gathered(dxf::Type::MText, {{1, "one "}, {3, "two"}, {21, "1"}});
    EXPECT_EQ(paragraph.text, "one two");
    ASSERT_TRUE(paragraph.direction);
    EXPECT_EQ(paragraph.direction->x, 1);
}

TEST(WmfRecordTable, DrawsAndMeasuresFromOneTable) {
    // Shapes both draw and say where they lie; state records only draw.
    for (const uint16_t function : {wmf::kLineTo, wmf::kPolygon, wmf::kRectangle, wmf::kArc,
                                    wmf::kTextOut, wmf::kExtTextOut}) {
        const auto* record = wmf::findRecord(function);
        ASSERT_NE(record, nullptr) << function;
        EXPECT_NE(record->draw, nullptr);
        EXPECT_NE(record->bounds, nullptr);
    }
    for (const uint16_t function : {wmf::kSaveDc, wmf::kSelectObject, wmf::kStretchDib}) {
        const auto* record = wmf::findRecord(function);
        ASSERT_NE(record, nullptr) << function;
        EXPECT_EQ(record->bounds, nullptr);
    }
    // The window's origin and extent are measured though never drawn as shapes.
    EXPECT_NE(wmf::findRecord(wmf::kSetWindowExt)->bounds, nullptr);
    for (const uint16_t function :
         std::initializer_list<uint16_t>{wmf::kEof, wmf::kEscape, wmf::kSetMapMode, 0xFFFF}) {
        EXPECT_EQ(wmf::findRecord(function), nullptr) << function;
    }
}

}  // namespace
}  // namespace pictavo::imaging
