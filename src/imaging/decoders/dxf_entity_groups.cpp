#include "imaging/decoders/dxf_entity_groups.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <numbers>
#include <span>
#include <unordered_map>

namespace pictavo::imaging::dxf {

namespace {

using vector::Point;

struct Field {
    int code;
    void (*set)(Pending& p, const Group& g);
};
using Fields = std::span<const Field>;

uint32_t trueColourOf(const Group& g) {
    return 0x01000000u | (static_cast<uint32_t>(g.integer()) & 0xFFFFFF);
}
uint8_t clampedByte(const Group& g, int64_t high) {
    return static_cast<uint8_t>(std::clamp<int64_t>(g.integer(), 0, high));
}
int flagsOf(const Group& g) {
    return static_cast<int>(g.integer());
}

// What every entity may say: its layer, colour, space and extrusion.
constexpr Field kCommon[] = {
    {8, [](Pending& p, const Group& g) { p.layer = g.text; }},
    {62,
     [](Pending& p, const Group& g) {
         p.entity.colour = static_cast<int16_t>(std::clamp<int64_t>(g.integer(), -256, 256));
     }},
    {420, [](Pending& p, const Group& g) { p.entity.trueColour = trueColourOf(g); }},
    {67, [](Pending& p, const Group& g) { p.paperSpace = g.integer() == 1; }},
    {60, [](Pending& p, const Group& g) { p.invisible = g.integer() == 1; }},
    {230, [](Pending& p, const Group& g) { p.extrusionZ = g.real(); }},
};

// Points given one coordinate group at a time: x starts the next point.
void addX(std::vector<Point>& points, const Group& g) {
    points.push_back({g.real(), 0});
}
void setY(std::vector<Point>& points, const Group& g) {
    if (!points.empty()) points.back().y = g.real();
}

constexpr Field kLightPolyline[] = {
    {10,
     [](Pending& p, const Group& g) {
         addX(p.points, g);
         p.bulges.push_back(0);
     }},
    {20, [](Pending& p, const Group& g) { setY(p.points, g); }},
    {42,
     [](Pending& p, const Group& g) {
         if (!p.bulges.empty()) p.bulges.back() = g.real();
     }},
    {70, [](Pending& p, const Group& g) { p.entity.closed = (g.integer() & 1) != 0; }},
    {43,
     [](Pending& p, const Group& g) { p.entity.width = static_cast<float>(std::abs(g.real())); }},
};

constexpr Field kSpline[] = {
    {10, [](Pending& p, const Group& g) { addX(p.points, g); }},
    {20, [](Pending& p, const Group& g) { setY(p.points, g); }},
    {11, [](Pending& p, const Group& g) { addX(p.fitPoints, g); }},
    {21, [](Pending& p, const Group& g) { setY(p.fitPoints, g); }},
    {40, [](Pending& p, const Group& g) { p.knots.push_back(g.real()); }},
    {41, [](Pending& p, const Group& g) { p.weights.push_back(g.real()); }},
    {70, [](Pending& p, const Group& g) { p.splineFlags = flagsOf(g); }},
    {71,
     [](Pending& p, const Group& g) {
         p.degree = static_cast<int>(std::clamp<int64_t>(g.integer(), 1, 10));
     }},
};

constexpr Field kParagraph[] = {
    {10, [](Pending& p, const Group& g) { p.corners[0].x = g.real(); }},
    {20, [](Pending& p, const Group& g) { p.corners[0].y = g.real(); }},
    {11,
     [](Pending& p, const Group& g) {
         p.direction = Point{g.real(), p.direction ? p.direction->y : 0};
     }},
    {21,
     [](Pending& p, const Group& g) {
         p.direction = Point{p.direction ? p.direction->x : 1, g.real()};
     }},
    {40, [](Pending& p, const Group& g) { p.values[0] = g.real(); }},
    {41, [](Pending& p, const Group& g) { p.boxWidth = g.real(); }},
    {50, [](Pending& p, const Group& g) { p.rotationRadians = g.real() * std::numbers::pi / 180; }},
    {71, [](Pending& p, const Group& g) { p.attachment = flagsOf(g); }},
    {1, [](Pending& p, const Group& g) { p.text.append(g.text); }},
    {3, [](Pending& p, const Group& g) { p.text.append(g.text); }},
};

// The groups the other entities share: up to four corners, a size, two
// angles, a text, a block name, flags, spacings and an alignment.
constexpr Field kPlaced[] = {
    {10, [](Pending& p, const Group& g) { p.corners[0].x = g.real(); }},
    {20, [](Pending& p, const Group& g) { p.corners[0].y = g.real(); }},
    {11,
     [](Pending& p, const Group& g) {
         p.corners[1].x = g.real();
         p.hasSecond = true;
     }},
    {21,
     [](Pending& p, const Group& g) {
         p.corners[1].y = g.real();
         p.hasSecond = true;
     }},
    {12, [](Pending& p, const Group& g) { p.corners[2].x = g.real(); }},
    {22, [](Pending& p, const Group& g) { p.corners[2].y = g.real(); }},
    {13, [](Pending& p, const Group& g) { p.corners[3].x = g.real(); }},
    {23, [](Pending& p, const Group& g) { p.corners[3].y = g.real(); }},
    {40, [](Pending& p, const Group& g) { p.values[0] = g.real(); }},
    {50, [](Pending& p, const Group& g) { p.values[1] = g.real(); }},
    {51, [](Pending& p, const Group& g) { p.values[2] = g.real(); }},
    {1, [](Pending& p, const Group& g) { p.text = std::string(g.text); }},
    {2, [](Pending& p, const Group& g) { p.blockName = g.text; }},
    {70, [](Pending& p, const Group& g) { p.flags = flagsOf(g); }},
    {44, [](Pending& p, const Group& g) { p.columnSpacing = g.real(); }},
    {45, [](Pending& p, const Group& g) { p.rowSpacing = g.real(); }},
    {72, [](Pending& p, const Group& g) { p.entity.horizontalAlign = clampedByte(g, 5); }},
};

// What some of those entities read differently, looked up before kPlaced.
constexpr Field kText[] = {
    {41, [](Pending& p, const Group& g) { p.values[2] = g.real(); }},
    {51, [](Pending& p, const Group& g) { p.values[3] = g.real(); }},
    {73, [](Pending& p, const Group& g) { p.entity.verticalAlign = clampedByte(g, 3); }},
};
constexpr Field kAttribute[] = {
    {41, [](Pending& p, const Group& g) { p.values[2] = g.real(); }},
    {51, [](Pending& p, const Group& g) { p.values[3] = g.real(); }},
    {74, [](Pending& p, const Group& g) { p.entity.verticalAlign = clampedByte(g, 3); }},
    {70,
     [](Pending& p, const Group& g) {
         p.flags = flagsOf(g);
         if (p.flags & 1) p.invisible = true;
     }},
};
constexpr Field kEllipse[] = {
    {41, [](Pending& p, const Group& g) { p.values[1] = g.real(); }},
    {42, [](Pending& p, const Group& g) { p.values[2] = g.real(); }},
};
constexpr Field kInsert[] = {
    {41, [](Pending& p, const Group& g) { p.values[1] = g.real(); }},
    {42, [](Pending& p, const Group& g) { p.values[1] = g.real(); }},
    {50, [](Pending& p, const Group& g) { p.values[2] = g.real(); }},
    {70,
     [](Pending& p, const Group& g) {
         p.flags = flagsOf(g);
         p.columns = static_cast<double>(g.integer());
     }},
    {71, [](Pending& p, const Group& g) { p.rows = static_cast<double>(g.integer()); }},
};
constexpr Field kVertex[] = {
    {42, [](Pending& p, const Group& g) { p.bulge = g.real(); }},
};
constexpr Field kOldPolyline[] = {
    {70,
     [](Pending& p, const Group& g) {
         p.flags = flagsOf(g);
         p.entity.closed = (p.flags & 1) != 0;
     }},
};

// An entity's own table, and whether the shared placed groups follow it.
struct EntityFields {
    Fields own;
    bool placed;
};

EntityFields fieldsOf(Type type) {
    switch (type) {
        case Type::LwPolyline:
        case Type::Leader:
            return {kLightPolyline, false};
        case Type::Spline:
            return {kSpline, false};
        case Type::MText:
            return {kParagraph, false};
        case Type::Text:
            return {kText, true};
        case Type::Attrib:
            return {kAttribute, true};
        case Type::Ellipse:
            return {kEllipse, true};
        case Type::Insert:
            return {kInsert, true};
        case Type::Vertex:
            return {kVertex, true};
        case Type::Polyline:
            return {kOldPolyline, true};
        default:
            return {{}, true};
    }
}

const Field* find(Fields fields, int code) {
    const auto found =
        std::find_if(fields.begin(), fields.end(), [&](const Field& f) { return f.code == code; });
    return found == fields.end() ? nullptr : &*found;
}

}  // namespace

Type typeNamed(std::string_view name) {
    static const std::unordered_map<std::string_view, Type> kTypes = {
        {"LINE", Type::Line},       {"LWPOLYLINE", Type::LwPolyline},
        {"LEADER", Type::Leader},   {"POLYLINE", Type::Polyline},
        {"VERTEX", Type::Vertex},   {"SPLINE", Type::Spline},
        {"CIRCLE", Type::Circle},   {"ARC", Type::Arc},
        {"ELLIPSE", Type::Ellipse}, {"TEXT", Type::Text},
        {"ATTRIB", Type::Attrib},   {"MTEXT", Type::MText},
        {"INSERT", Type::Insert},   {"DIMENSION", Type::Dimension},
        {"POINT", Type::Point},     {"SOLID", Type::Solid},
        {"TRACE", Type::Solid},     {"3DFACE", Type::Face},
    };
    const auto found = kTypes.find(name);
    return found == kTypes.end() ? Type::Other : found->second;
}

void collectGroup(Pending& p, const Group& g) {
    const EntityFields fields = fieldsOf(p.type);
    const Field* field = find(kCommon, g.code);
    if (!field) field = find(fields.own, g.code);
    if (!field && fields.placed) field = find(kPlaced, g.code);
    if (field) field->set(p, g);
}

size_t listedNumbers(const Pending& p) {
    return 2 * (p.points.size() + p.fitPoints.size()) + p.bulges.size() + p.knots.size() +
           p.weights.size();
}

}  // namespace pictavo::imaging::dxf
