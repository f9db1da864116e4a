#pragma once
// A drawing exchange file read into memory: layers, block definitions and
// the 2D entities of model space, compact enough for a million of them.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/result.h"
#include "imaging/byte_source.h"
#include "imaging/vector/geometry.h"
#include "imaging/work_meter.h"

namespace pictavo::imaging::dxf {

using vector::Point;

enum class EntityKind : uint8_t {
    Line,
    Polyline,
    Circle,
    Arc,
    Ellipse,
    Text,
    Insert,
    Point,
    Solid,
    Face
};

// Colour numbers with a meaning of their own.
inline constexpr int kByBlock = 0;
inline constexpr int kByLayer = 256;
inline constexpr uint32_t kNoTrueColour = 0;
inline constexpr uint32_t kNone = 0xFFFFFFFFu;

struct Entity {
    EntityKind kind = EntityKind::Line;
    bool closed = false;
    // The entity's extrusion points down the z axis: its own x axis runs
    // against the world's, so it is drawn mirrored.
    bool mirrored = false;
    uint8_t horizontalAlign = 0;
    uint8_t verticalAlign = 0;
    // Inserts: the block is laid out in columns and rows.
    bool arrayed = false;
    int16_t colour = kByLayer;
    uint32_t trueColour = kNoTrueColour;  // 0x01RRGGBB when the entity has one
    uint32_t layer = 0;
    uint32_t firstPoint = 0;
    uint32_t pointCount = 0;
    // The first of the entity's numbers in Drawing::numbers (kNone: none):
    // Polyline: one bulge per point.
    // Circle, arc: radius, start and end angle (degrees).
    // Ellipse: axis ratio, start and end parameter (radians); the points are
    //   the centre and the end of the major axis relative to it.
    // Text: height, rotation (degrees), width factor, oblique angle (degrees).
    // Insert: x scale, y scale, rotation (degrees), unused; when arrayed,
    //   then columns, rows and their spacings.
    uint32_t numbers = kNone;
    // Text: index into Drawing::texts. Insert: index into Drawing::blockNames.
    uint32_t reference = kNone;
    float width = 0;  // polyline width in drawing units
};

struct Layer {
    std::string name;
    int colour = 7;
    uint32_t trueColour = kNoTrueColour;
    bool visible = true;
};

struct Block {
    Point base;
    uint32_t firstEntity = 0;
    uint32_t entityCount = 0;
};

struct Extents {
    double minX = 1e300;
    double minY = 1e300;
    double maxX = -1e300;
    double maxY = -1e300;

    bool valid() const { return minX <= maxX && minY <= maxY; }
    void add(Point p) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
};

struct Drawing {
    std::vector<Layer> layers;
    std::vector<Entity> entities;  // the blocks' and model space's, each in one run
    uint32_t modelFirst = 0;
    uint32_t modelCount = 0;
    std::vector<Point> points;
    std::vector<double> numbers;
    std::vector<std::u32string> texts;
    std::vector<std::string> blockNames;  // what inserts refer to, by index
    std::unordered_map<std::string, Block> blocks;
    Extents headerExtents;
};

// More entities than this are refused rather than slowly drawn.
inline constexpr size_t kMaxEntities = 2000000;

// Every group read and every byte of text decoded counts against work. The
// file is read a piece at a time.
Result<Drawing> readDrawing(const ByteSource& file, WorkMeter& work);
Result<Drawing> readDrawing(std::span<const uint8_t> bytes, WorkMeter& work);

}  // namespace pictavo::imaging::dxf
