#include "imaging/decoders/dxf_drawing_builder.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "imaging/decoders/dxf_text.h"
#include "imaging/errors.h"
#include "imaging/vector/curves.h"
#include "imaging/work_costs.h"

namespace pictavo::imaging::dxf {

namespace {

// Points a spline is sampled at per knot span, and at most in all.
constexpr size_t kSplineStepsPerSpan = 16;
constexpr size_t kMaxSplinePoints = 4096;
constexpr size_t kMaxPoints = 4 * kMaxEntities;

Error tooManyEntities() {
    return unsupportedFeature("DXF", "more than " + std::to_string(kMaxEntities) + " entities");
}

std::vector<Point> splinePoints(const Pending& p) {
    // Without control points a spline is given by the points it passes through.
    if (p.points.size() < 2) {
        return vector::catmullRomThrough(p.fitPoints, kSplineStepsPerSpan, kMaxSplinePoints);
    }
    return vector::sampleBSpline(p.degree, p.knots, p.points, p.weights, kSplineStepsPerSpan,
                                 kMaxSplinePoints);
}

}  // namespace

DrawingBuilder::DrawingBuilder(WorkMeter& work, size_t expectedEntities) : work_(work) {
    drawing_.entities.reserve(expectedEntities);
    drawing_.points.reserve(expectedEntities * 2);
}

uint32_t DrawingBuilder::layerIndex(std::string_view name) {
    if (name == lastLayerName_ && lastLayer_ != kNone) return lastLayer_;
    const std::string key(name);
    auto found = layers_.find(key);
    uint32_t index = 0;
    if (found != layers_.end()) {
        index = found->second;
    } else {
        index = static_cast<uint32_t>(drawing_.layers.size());
        Layer layer;
        layer.name = key;
        drawing_.layers.push_back(std::move(layer));
        layers_.emplace(key, index);
    }
    lastLayerName_ = drawing_.layers[index].name;
    lastLayer_ = index;
    return index;
}

void DrawingBuilder::setLayer(Layer layer) {
    const uint32_t index = layerIndex(layer.name);
    drawing_.layers[index] = std::move(layer);
}

uint32_t DrawingBuilder::blockNameIndex(std::string_view name) {
    const std::string key(name);
    auto found = blockNames_.find(key);
    if (found != blockNames_.end()) return found->second;
    const auto index = static_cast<uint32_t>(drawing_.blockNames.size());
    drawing_.blockNames.push_back(key);
    blockNames_.emplace(key, index);
    return index;
}

uint32_t DrawingBuilder::addPoints(const std::vector<Point>& points) {
    const auto first = static_cast<uint32_t>(drawing_.points.size());
    drawing_.points.insert(drawing_.points.end(), points.begin(), points.end());
    return first;
}

uint32_t DrawingBuilder::addPoints(std::initializer_list<Point> points) {
    const auto first = static_cast<uint32_t>(drawing_.points.size());
    for (const Point& p : points) drawing_.points.push_back(p);
    return first;
}

uint32_t DrawingBuilder::addValues(const Pending& p) {
    const auto first = static_cast<uint32_t>(drawing_.numbers.size());
    drawing_.numbers.insert(drawing_.numbers.end(), std::begin(p.values), std::end(p.values));
    return first;
}

Result<void> DrawingBuilder::push(Entity entity) {
    if (drawing_.entities.size() >= kMaxEntities || drawing_.points.size() > kMaxPoints) {
        return tooManyEntities();
    }
    drawing_.entities.push_back(entity);
    return {};
}

Result<void> DrawingBuilder::store(Pending& p) {
    Entity e = p.entity;
    e.layer = layerIndex(p.layer);
    e.mirrored = p.extrusionZ < 0;
    switch (p.type) {
        case Type::LwPolyline:
        case Type::Leader:
            return storePolyline(p, e);
        case Type::Spline:
            return storeSpline(p, e);
        case Type::Circle:
        case Type::Arc:
            e.kind = p.type == Type::Circle ? EntityKind::Circle : EntityKind::Arc;
            e.firstPoint = addPoints({p.corners[0]});
            e.pointCount = 1;
            e.numbers = addValues(p);
            return push(e);
        case Type::Ellipse:
            return storeEllipse(p, e);
        case Type::Text:
        case Type::Attrib:
            return storeText(p, e);
        case Type::MText:
            return storeParagraph(p, e);
        case Type::Insert:
        case Type::Dimension:
            return storeInsert(p, e);
        case Type::Line:
        case Type::Point:
        case Type::Solid:
        case Type::Face:
            return storeCorners(p, e);
        default:
            return {};  // entities we do not draw
    }
}

Result<void> DrawingBuilder::storePolyline(const Pending& p, Entity e) {
    if (p.points.empty()) return {};
    e.kind = EntityKind::Polyline;
    if (p.type == Type::Leader) e.mirrored = false;
    e.firstPoint = addPoints(p.points);
    e.pointCount = static_cast<uint32_t>(p.points.size());
    if (std::any_of(p.bulges.begin(), p.bulges.end(), [](double b) { return b != 0; })) {
        e.numbers = static_cast<uint32_t>(drawing_.numbers.size());
        drawing_.numbers.insert(drawing_.numbers.end(), p.bulges.begin(), p.bulges.end());
    }
    return push(e);
}

Result<void> DrawingBuilder::storeSpline(const Pending& p, Entity e) {
    const std::vector<Point> points = splinePoints(p);
    if (points.empty()) return {};
    e.kind = EntityKind::Polyline;
    e.mirrored = false;
    e.closed = false;
    e.firstPoint = addPoints(points);
    e.pointCount = static_cast<uint32_t>(points.size());
    return push(e);
}

Result<void> DrawingBuilder::storeEllipse(Pending& p, Entity e) {
    e.kind = EntityKind::Ellipse;
    e.mirrored = false;
    if (p.values[0] == 0) p.values[0] = 1;
    if (p.values[1] == 0 && p.values[2] == 0) p.values[2] = 2 * std::numbers::pi;
    e.firstPoint = addPoints({p.corners[0], p.corners[1]});
    e.pointCount = 2;
    e.numbers = addValues(p);
    return push(e);
}

Result<void> DrawingBuilder::storeInsert(Pending& p, Entity e) {
    if (p.blockName.empty()) return {};
    e.kind = EntityKind::Insert;
    e.reference = blockNameIndex(p.blockName);
    if (p.type == Type::Dimension) {
        // A dimension's picture is an anonymous block in world coordinates.
        p.values[0] = p.values[1] = 1;
        p.values[2] = 0;
        e.mirrored = false;
        e.firstPoint = addPoints({Point{}});
    } else {
        if (p.values[0] == 0) p.values[0] = 1;
        if (p.values[1] == 0) p.values[1] = 1;
        e.firstPoint = addPoints({p.corners[0]});
    }
    e.pointCount = 1;
    e.numbers = addValues(p);
    if (p.columns > 1 || p.rows > 1) {
        e.arrayed = true;
        drawing_.numbers.insert(drawing_.numbers.end(),
                                {std::clamp(p.columns, 1.0, 1000.0),
                                 std::clamp(p.rows, 1.0, 1000.0), p.columnSpacing, p.rowSpacing});
    }
    return push(e);
}

// Lines, points, solids and faces: their corners and nothing else.
Result<void> DrawingBuilder::storeCorners(const Pending& p, Entity e) {
    const Point* c = p.corners;
    switch (p.type) {
        case Type::Line:
            e.kind = EntityKind::Line;
            e.mirrored = false;  // LINE is in world coordinates
            e.firstPoint = addPoints({c[0], c[1]});
            e.pointCount = 2;
            break;
        case Type::Point:
            e.kind = EntityKind::Point;
            e.mirrored = false;
            e.firstPoint = addPoints({c[0]});
            e.pointCount = 1;
            break;
        case Type::Solid:
            // SOLID lists its corners in a Z: the third and fourth swap places.
            e.kind = EntityKind::Solid;
            e.firstPoint = addPoints({c[0], c[1], c[3], c[2]});
            e.pointCount = 4;
            e.closed = true;
            break;
        default:
            e.kind = EntityKind::Face;
            e.mirrored = false;
            e.firstPoint = addPoints({c[0], c[1], c[2], c[3]});
            e.pointCount = 4;
            e.closed = true;
            break;
    }
    return push(e);
}

Result<void> DrawingBuilder::storeText(Pending& p, Entity e) {
    if (!work_.spend(cost::kTextByte * static_cast<int64_t>(p.text.size())))
        return work_.stopError();
    e.kind = EntityKind::Text;
    if (p.values[0] <= 0) p.values[0] = 1;
    if (p.values[2] <= 0) p.values[2] = 1;
    e.numbers = addValues(p);
    // TEXT places itself by its second point unless it is left on the baseline.
    const bool aligned = e.horizontalAlign != 0 || e.verticalAlign != 0;
    e.firstPoint = addPoints({p.corners[0], aligned && p.hasSecond ? p.corners[1] : p.corners[0]});
    e.pointCount = 2;
    e.reference = static_cast<uint32_t>(drawing_.texts.size());
    drawing_.texts.push_back(decodeText(p.text));
    return push(e);
}

Result<void> DrawingBuilder::storeParagraph(Pending& p, Entity e) {
    if (!work_.spend(cost::kTextByte * static_cast<int64_t>(p.text.size())))
        return work_.stopError();
    const double height = p.values[0] > 0 ? p.values[0] : 1;
    const double rotation =
        p.direction ? std::atan2(p.direction->y, p.direction->x) : p.rotationRadians;
    Pending line;
    line.values[0] = height;
    line.values[1] = rotation * 180 / std::numbers::pi;
    line.values[2] = 1;
    line.values[3] = 0;
    // One line more than may be stored is enough to refuse the rest.
    const size_t room = kMaxEntities - std::min(kMaxEntities, drawing_.entities.size()) + 1;
    std::vector<std::u32string> lines =
        paragraphLines(decodeText(p.text), p.boxWidth > 0 ? p.boxWidth / height : 0, room);
    const int column = (std::clamp(p.attachment, 1, 9) - 1) % 3;  // left, centre, right
    const int row = (std::clamp(p.attachment, 1, 9) - 1) / 3;     // top, middle, bottom
    const double spacing = kParagraphLineSpacing * height;
    const double blockHeight = height + spacing * static_cast<double>(lines.size() - 1);
    // Baseline of the first line below the insertion point.
    const double firstBaseline = row == 0   ? -height
                                 : row == 1 ? blockHeight / 2 - height
                                            : blockHeight - height;
    const Point along{std::cos(rotation), std::sin(rotation)};
    const Point up{-along.y, along.x};
    for (size_t i = 0; i < lines.size(); ++i) {
        Entity text = e;
        text.kind = EntityKind::Text;
        text.horizontalAlign = static_cast<uint8_t>(column);
        text.verticalAlign = 0;
        const double lift = firstBaseline - spacing * static_cast<double>(i);
        const Point at = p.corners[0] + up * lift;
        text.firstPoint = addPoints({at, at});
        text.pointCount = 2;
        text.numbers = addValues(line);
        text.reference = static_cast<uint32_t>(drawing_.texts.size());
        drawing_.texts.push_back(std::move(lines[i]));
        if (auto pushed = push(text); !pushed) return pushed;
    }
    return {};
}

}  // namespace pictavo::imaging::dxf
