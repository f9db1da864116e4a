#include "imaging/decoders/dxf_drawing.h"

#include <cmath>
#include <initializer_list>
#include <numbers>
#include <optional>
#include <string_view>

#include "imaging/decoders/dxf_groups.h"
#include "imaging/decoders/dxf_text.h"
#include "imaging/errors.h"
#include "imaging/work_costs.h"

namespace pictavo::imaging::dxf {

namespace {

// Points a spline is sampled at per knot span, and at most in all.
constexpr int kSplineStepsPerSpan = 16;
constexpr size_t kMaxSplinePoints = 4096;
constexpr size_t kMaxPoints = 4 * kMaxEntities;

Error tooManyEntities() {
    return makeError("drawing has too many entities (more than " + std::to_string(kMaxEntities) +
                     ")");
}

enum class Type {
    Other,
    Line,
    LwPolyline,
    Leader,
    Polyline,
    Vertex,
    Spline,
    Circle,
    Arc,
    Ellipse,
    Text,
    Attrib,
    MText,
    Insert,
    Dimension,
    Point,
    Solid,
    Face
};

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

// Everything one entity's groups say, before it is stored.
struct Pending {
    Type type = Type::Other;
    int flags = 0;
    double values[4] = {0, 0, 0, 0};
    double bulge = 0;
    Entity entity;
    // Copied: the file's text goes when the next piece of it is read.
    std::string layer = "0";
    bool paperSpace = false;
    bool invisible = false;
    double extrusionZ = 1;
    std::vector<Point> points;
    std::vector<double> bulges;
    Point second;  // LINE end, TEXT alignment point, ELLIPSE axis
    bool hasSecond = false;
    Point corners[4];
    std::string text;
    std::string blockName;
    double columns = 1, rows = 1, columnSpacing = 0, rowSpacing = 0;
    // Splines.
    int degree = 3;
    int splineFlags = 0;
    std::vector<double> knots;
    std::vector<double> weights;
    std::vector<Point> fitPoints;
    // MTEXT.
    int attachment = 1;
    double boxWidth = 0;
    std::optional<Point> direction;
    double rotationRadians = 0;
};

// The value of B-spline with these knots at t (de Boor), rational when
// weights are given.
Point evaluateSpline(int degree, const std::vector<double>& knots,
                     const std::vector<Point>& controls, const std::vector<double>& weights,
                     double t) {
    const int n = static_cast<int>(controls.size());
    int span = degree;
    while (span < n - 1 && t >= knots[static_cast<size_t>(span) + 1]) ++span;
    struct Homogeneous {
        double x, y, w;
    };
    std::vector<Homogeneous> d(static_cast<size_t>(degree) + 1);
    for (int j = 0; j <= degree; ++j) {
        const auto index = static_cast<size_t>(std::clamp(j + span - degree, 0, n - 1));
        const double w = weights.size() == controls.size() ? weights[index] : 1.0;
        d[static_cast<size_t>(j)] = {controls[index].x * w, controls[index].y * w, w};
    }
    for (int r = 1; r <= degree; ++r) {
        for (int j = degree; j >= r; --j) {
            const auto i = static_cast<size_t>(j + span - degree);
            const double left = knots[i];
            const double right =
                knots[i + static_cast<size_t>(degree) - static_cast<size_t>(r) + 1];
            const double alpha = right > left ? (t - left) / (right - left) : 0;
            auto& a = d[static_cast<size_t>(j)];
            const auto& b = d[static_cast<size_t>(j) - 1];
            a = {b.x + alpha * (a.x - b.x), b.y + alpha * (a.y - b.y), b.w + alpha * (a.w - b.w)};
        }
    }
    const auto& result = d[static_cast<size_t>(degree)];
    if (result.w == 0) return {result.x, result.y};
    return {result.x / result.w, result.y / result.w};
}

// A smooth curve through the points (Catmull-Rom), for splines that give
// only the points they pass through.
std::vector<Point> throughPoints(const std::vector<Point>& fit) {
    if (fit.size() < 3) return fit;
    std::vector<Point> points;
    const size_t steps =
        std::max<size_t>(1, std::min<size_t>(kSplineStepsPerSpan, kMaxSplinePoints / fit.size()));
    points.push_back(fit.front());
    for (size_t i = 0; i + 1 < fit.size(); ++i) {
        const Point p0 = fit[i == 0 ? 0 : i - 1];
        const Point p1 = fit[i];
        const Point p2 = fit[i + 1];
        const Point p3 = fit[std::min(i + 2, fit.size() - 1)];
        for (size_t k = 1; k <= steps; ++k) {
            const double t = static_cast<double>(k) / static_cast<double>(steps);
            const double t2 = t * t;
            const double t3 = t2 * t;
            points.push_back((p1 * 2 + (p2 - p0) * t + (p0 * 2 - p1 * 5 + p2 * 4 - p3) * t2 +
                              (p1 * 3 - p0 - p2 * 3 + p3) * t3) *
                             0.5);
        }
    }
    return points;
}

std::vector<Point> splineToPolyline(Pending& p) {
    auto& controls = p.points;
    if (controls.size() < 2) return throughPoints(p.fitPoints);
    const int degree = std::clamp(p.degree, 1, static_cast<int>(controls.size()) - 1);
    const size_t knotCount = controls.size() + static_cast<size_t>(degree) + 1;
    bool knotsUsable = p.knots.size() == knotCount;
    for (size_t i = 1; knotsUsable && i < p.knots.size(); ++i) {
        if (!(p.knots[i] >= p.knots[i - 1])) knotsUsable = false;
    }
    if (!knotsUsable) {
        // A clamped uniform vector: the curve starts and ends at its end points.
        p.knots.assign(knotCount, 0);
        const int inner = static_cast<int>(controls.size()) - degree;
        for (size_t i = 0; i < knotCount; ++i) {
            const int k = static_cast<int>(i) - degree;
            p.knots[i] = std::clamp(k, 0, inner);
        }
    }
    const double start = p.knots[static_cast<size_t>(degree)];
    const double end = p.knots[controls.size()];
    if (!(end > start)) return controls;
    const size_t spans = controls.size() - static_cast<size_t>(degree);
    const size_t steps = std::min(kMaxSplinePoints, spans * kSplineStepsPerSpan);
    std::vector<Point> points;
    points.reserve(steps + 1);
    for (size_t i = 0; i <= steps; ++i) {
        const double t =
            start + (end - start) * static_cast<double>(i) / static_cast<double>(steps);
        points.push_back(evaluateSpline(degree, p.knots, controls, p.weights, t));
    }
    return points;
}

class DrawingReader {
  public:
    DrawingReader(const ByteSource& file, WorkMeter& work) : groups_(file), work_(work) {
        // Room for as many entities as a file of this size usually holds (the
        // shortest take about 100 bytes of text or 50 of binary), so that a big drawing is not
        // copied again and again as it grows.
        const size_t expected = static_cast<size_t>(
            std::min<uint64_t>(kMaxEntities, groups_.size() / (groups_.binary() ? 48 : 96)));
        drawing_.entities.reserve(expected);
        drawing_.points.reserve(expected * 2);
    }

    Result<Drawing> read() {
        layerIndex("0");
        while (advance()) {
            if (work_.stopped()) return work_.stopError();
            if (!group_.is(0, "SECTION")) {
                if (group_.is(0, "EOF")) break;
                continue;
            }
            if (!advance()) break;
            const std::string name(group_.text);
            advance();
            Result<void> section;
            if (name == "HEADER") {
                readHeader();
            } else if (name == "TABLES") {
                readTables();
            } else if (name == "BLOCKS") {
                section = readBlocks();
            } else if (name == "ENTITIES") {
                drawing_.modelFirst = static_cast<uint32_t>(drawing_.entities.size());
                section = readEntities("ENDSEC");
                drawing_.modelCount =
                    static_cast<uint32_t>(drawing_.entities.size()) - drawing_.modelFirst;
            } else {
                skipTo("ENDSEC");
            }
            if (!section) return section.error();
        }
        if (work_.stopped()) return work_.stopError();
        if (!sawSection_) {
            return groups_.broken() ? invalidFile("DXF", "bad group code")
                                    : invalidFile("DXF", "no sections");
        }
        return std::move(drawing_);
    }

  private:
    // Moves to the next group; false at the end.
    bool advance() {

        if (pushedBack_) {
            pushedBack_ = false;
            return true;
        }
        // A stopped meter ends the reading as the file's end would; the
        // caller tells the two apart.
        if (work_.stopped() || !groups_.next(group_)) {
            group_ = Group{};
            return false;
        }
        // Long values (a text of megabytes) cost by their length.
        (void)work_.spend(cost::kGroup + static_cast<int64_t>(group_.text.size()) / 8);
        if (group_.is(0, "SECTION")) sawSection_ = true;
        return true;
    }
    bool atEnd() const { return group_.code < 0; }

    void skipTo(std::string_view marker) {
        while (!atEnd() && !group_.is(0, marker)) advance();
    }

    void readHeader() {
        std::string_view variable;
        std::string variableName;
        while (!atEnd() && !group_.is(0, "ENDSEC")) {
            if (group_.code == 9) {
                variableName = std::string(group_.text);
            } else if (variableName == "$ACADVER" && group_.code == 1) {
                // AC1021 (2007) and later keep their text in UTF-8.
                utf8_ = group_.text >= std::string_view("AC1021");
            } else if (variableName == "$EXTMIN" || variableName == "$EXTMAX") {
                const bool isMin = variableName == "$EXTMIN";
                if (group_.code == 10) (isMin ? extMin_.x : extMax_.x) = group_.real();
                if (group_.code == 20) (isMin ? extMin_.y : extMax_.y) = group_.real();
            }
            advance();
        }
        (void)variable;
        // Files written without extents carry +-1e20 placeholders.
        if (std::abs(extMin_.x) < 1e19 && std::abs(extMax_.x) < 1e19 &&
            std::abs(extMin_.y) < 1e19 && std::abs(extMax_.y) < 1e19) {
            drawing_.headerExtents.add(extMin_);
            drawing_.headerExtents.add(extMax_);
        }
    }

    void readTables() {
        while (!atEnd() && !group_.is(0, "ENDSEC")) {
            if (group_.is(0, "LAYER")) {
                readLayer();
                continue;
            }
            advance();
        }
    }

    void readLayer() {
        Layer layer;
        int flags = 0;
        advance();
        while (!atEnd() && group_.code != 0) {
            switch (group_.code) {
                case 2:
                    layer.name = std::string(group_.text);
                    break;
                case 62:
                    layer.colour = static_cast<int>(group_.integer());
                    break;
                case 70:
                    flags = static_cast<int>(group_.integer());
                    break;
                case 420:
                    layer.trueColour =
                        0x01000000u | (static_cast<uint32_t>(group_.integer()) & 0xFFFFFF);
                    break;
                default:
                    break;
            }
            advance();
        }
        // A negative colour turns the layer off; flag 1 freezes it.
        layer.visible = layer.colour >= 0 && (flags & 1) == 0;
        layer.colour = std::abs(layer.colour);
        if (layer.colour == 0 || layer.colour > 255) layer.colour = 7;
        const uint32_t index = layerIndex(layer.name);
        drawing_.layers[index] = std::move(layer);
    }

    uint32_t layerIndex(std::string_view name) {
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

    uint32_t blockNameIndex(std::string_view name) {
        const std::string key(name);
        auto found = blockNames_.find(key);
        if (found != blockNames_.end()) return found->second;
        const auto index = static_cast<uint32_t>(drawing_.blockNames.size());
        drawing_.blockNames.push_back(key);
        blockNames_.emplace(key, index);
        return index;
    }

    Result<void> readBlocks() {
        while (!atEnd() && !group_.is(0, "ENDSEC")) {
            if (!group_.is(0, "BLOCK")) {
                advance();
                continue;
            }
            std::string name;
            Block block;
            int flags = 0;
            advance();
            while (!atEnd() && group_.code != 0) {
                if (group_.code == 2) name = std::string(group_.text);
                if (group_.code == 70) flags = static_cast<int>(group_.integer());
                if (group_.code == 10) block.base.x = group_.real();
                if (group_.code == 20) block.base.y = group_.real();
                advance();
            }
            block.firstEntity = static_cast<uint32_t>(drawing_.entities.size());
            if (auto read = readEntities("ENDBLK"); !read) return read;
            block.entityCount = static_cast<uint32_t>(drawing_.entities.size()) - block.firstEntity;
            if (flags & 4) block.entityCount = 0;  // an external reference: not here to draw
            drawing_.blocks[name] = block;
        }
        return {};
    }

    // Reads entities up to the marker (ENDSEC or ENDBLK), which stays current.
    Result<void> readEntities(std::string_view marker) {
        while (!atEnd() && !group_.is(0, marker) && !group_.is(0, "ENDSEC")) {
            if (group_.code != 0) {
                advance();
                continue;
            }
            const std::string_view type = group_.text;
            if (auto read = readEntity(type); !read) return read;
        }
        return {};
    }

    // Reads the groups of one entity (the current group names its type).
    Pending gather(Type type) {
        Pending p;
        p.type = type;
        advance();
        const bool isText = type == Type::Text || type == Type::Attrib;
        while (!atEnd() && group_.code != 0) {
            collect(p, isText);
            advance();
        }
        return p;
    }

    void collect(Pending& p, bool isText) {
        const Group& g = group_;
        Entity& e = p.entity;
        switch (g.code) {
            case 8:
                p.layer = g.text;
                return;
            case 62:
                e.colour = static_cast<int16_t>(std::clamp<int64_t>(g.integer(), -256, 256));
                return;
            case 420:
                e.trueColour = 0x01000000u | (static_cast<uint32_t>(g.integer()) & 0xFFFFFF);
                return;
            case 67:
                p.paperSpace = g.integer() == 1;
                return;
            case 60:
                p.invisible = g.integer() == 1;
                return;
            case 230:
                p.extrusionZ = g.real();
                return;
            default:
                break;
        }
        if (p.type == Type::LwPolyline || p.type == Type::Leader) {
            if (g.code == 10) {
                p.points.push_back({g.real(), 0});
                p.bulges.push_back(0);
            } else if (g.code == 20 && !p.points.empty()) {
                p.points.back().y = g.real();
            } else if (g.code == 42 && !p.bulges.empty()) {
                p.bulges.back() = g.real();
            } else if (g.code == 70) {
                e.closed = (g.integer() & 1) != 0;
            } else if (g.code == 43) {
                e.width = static_cast<float>(std::abs(g.real()));
            }
            return;
        }
        if (p.type == Type::Spline) {
            switch (g.code) {
                case 10:
                    p.points.push_back({g.real(), 0});
                    break;
                case 20:
                    if (!p.points.empty()) p.points.back().y = g.real();
                    break;
                case 11:
                    p.fitPoints.push_back({g.real(), 0});
                    break;
                case 21:
                    if (!p.fitPoints.empty()) p.fitPoints.back().y = g.real();
                    break;
                case 40:
                    p.knots.push_back(g.real());
                    break;
                case 41:
                    p.weights.push_back(g.real());
                    break;
                case 70:
                    p.splineFlags = static_cast<int>(g.integer());
                    break;
                case 71:
                    p.degree = static_cast<int>(std::clamp<int64_t>(g.integer(), 1, 10));
                    break;
                default:
                    break;
            }
            return;
        }
        if (p.type == Type::MText) {
            switch (g.code) {
                case 10:
                    p.corners[0].x = g.real();
                    break;
                case 20:
                    p.corners[0].y = g.real();
                    break;
                case 11:
                    p.direction = Point{g.real(), p.direction ? p.direction->y : 0};
                    break;
                case 21:
                    p.direction = Point{p.direction ? p.direction->x : 1, g.real()};
                    break;
                case 40:
                    p.values[0] = g.real();
                    break;
                case 41:
                    p.boxWidth = g.real();
                    break;
                case 50:
                    p.rotationRadians = g.real() * std::numbers::pi / 180;
                    break;
                case 71:
                    p.attachment = static_cast<int>(g.integer());
                    break;
                case 1:
                case 3:
                    p.text.append(g.text);
                    break;
                default:
                    break;
            }
            return;
        }
        switch (g.code) {
            case 10:
                p.corners[0].x = g.real();
                break;
            case 20:
                p.corners[0].y = g.real();
                break;
            case 11:
                p.corners[1].x = g.real();
                p.hasSecond = true;
                break;
            case 21:
                p.corners[1].y = g.real();
                p.hasSecond = true;
                break;
            case 12:
                p.corners[2].x = g.real();
                break;
            case 22:
                p.corners[2].y = g.real();
                break;
            case 13:
                p.corners[3].x = g.real();
                break;
            case 23:
                p.corners[3].y = g.real();
                break;
            case 40:
                p.values[0] = g.real();
                break;
            case 41:
                if (isText) p.values[2] = g.real();
                if (p.type == Type::Ellipse || p.type == Type::Insert) p.values[1] = g.real();
                break;
            case 42:
                if (p.type == Type::Ellipse) p.values[2] = g.real();
                if (p.type == Type::Insert) p.values[1] = g.real();
                if (p.type == Type::Vertex) p.bulge = g.real();
                break;
            case 50:
                p.values[p.type == Type::Insert ? 2 : 1] = g.real();
                break;
            case 51:
                p.values[isText ? 3 : 2] = g.real();
                break;
            case 1:
                p.text = std::string(g.text);
                break;
            case 2:
                p.blockName = g.text;
                break;
            case 70:
                p.flags = static_cast<int>(g.integer());
                if (p.type == Type::Insert) p.columns = static_cast<double>(g.integer());
                if (p.type == Type::Polyline) e.closed = (p.flags & 1) != 0;
                if (p.type == Type::Attrib && (p.flags & 1)) p.invisible = true;
                break;
            case 71:
                if (p.type == Type::Insert) p.rows = static_cast<double>(g.integer());
                break;
            case 44:
                p.columnSpacing = g.real();
                break;
            case 45:
                p.rowSpacing = g.real();
                break;
            case 72:
                e.horizontalAlign = static_cast<uint8_t>(std::clamp<int64_t>(g.integer(), 0, 5));
                break;
            case 73:
                if (p.type == Type::Text)
                    e.verticalAlign = static_cast<uint8_t>(std::clamp<int64_t>(g.integer(), 0, 3));
                break;
            case 74:
                if (p.type == Type::Attrib)
                    e.verticalAlign = static_cast<uint8_t>(std::clamp<int64_t>(g.integer(), 0, 3));
                break;
            default:
                break;
        }
    }

    Result<void> readEntity(std::string_view typeName) {
        const Type type = typeNamed(typeName);
        Pending p = gather(type);
        if (type == Type::Polyline) return readOldPolyline(p);
        if (type == Type::Insert) return readInsert(p);
        if (p.paperSpace || p.invisible) return {};
        return store(p);
    }

    // POLYLINE, then VERTEX entities up to SEQEND.
    Result<void> readOldPolyline(Pending& polyline) {
        while (!atEnd() && group_.is(0, "VERTEX")) {
            const Pending vertex = gather(Type::Vertex);
            if (vertex.flags & 128 && !(vertex.flags & 64))
                continue;  // a polyface mesh's face record
            polyline.points.push_back(vertex.corners[0]);
            polyline.bulges.push_back(vertex.bulge);
        }
        if (group_.is(0, "SEQEND")) gather(Type::Other);
        if (polyline.paperSpace || polyline.invisible) return {};
        polyline.type = Type::LwPolyline;
        return store(polyline);
    }

    // INSERT, and its ATTRIB entities up to SEQEND when it has them.
    Result<void> readInsert(Pending& insert) {
        const bool visible = !insert.paperSpace && !insert.invisible;
        if (visible) {
            if (auto stored = store(insert); !stored) return stored;
        }
        if (group_.is(0, "ATTRIB")) {
            while (!atEnd() && group_.is(0, "ATTRIB")) {
                Pending attribute = gather(Type::Attrib);
                if (visible && !attribute.invisible && !attribute.paperSpace) {
                    if (auto stored = store(attribute); !stored) return stored;
                }
            }
            if (group_.is(0, "SEQEND")) gather(Type::Other);
        }
        return {};
    }

    uint32_t addPoints(const std::vector<Point>& points) {
        const auto first = static_cast<uint32_t>(drawing_.points.size());
        drawing_.points.insert(drawing_.points.end(), points.begin(), points.end());
        return first;
    }
    uint32_t addPoints(std::initializer_list<Point> points) {
        const auto first = static_cast<uint32_t>(drawing_.points.size());
        for (const Point& p : points) drawing_.points.push_back(p);
        return first;
    }

    uint32_t addValues(const Pending& p) {
        const auto first = static_cast<uint32_t>(drawing_.numbers.size());
        drawing_.numbers.insert(drawing_.numbers.end(), std::begin(p.values), std::end(p.values));
        return first;
    }

    Result<void> push(Entity entity) {
        if (drawing_.entities.size() >= kMaxEntities || drawing_.points.size() > kMaxPoints) {
            return tooManyEntities();
        }
        drawing_.entities.push_back(entity);
        return {};
    }

    Result<void> store(Pending& p) {
        Entity e = p.entity;
        e.layer = layerIndex(p.layer);
        e.mirrored = p.extrusionZ < 0;
        switch (p.type) {
            case Type::Line:
                e.kind = EntityKind::Line;
                e.mirrored = false;  // LINE is in world coordinates
                e.firstPoint = addPoints({p.corners[0], p.corners[1]});
                e.pointCount = 2;
                break;
            case Type::LwPolyline:
            case Type::Leader:
                if (p.points.empty()) return {};
                e.kind = EntityKind::Polyline;
                if (p.type == Type::Leader) e.mirrored = false;
                e.firstPoint = addPoints(p.points);
                e.pointCount = static_cast<uint32_t>(p.points.size());
                if (std::any_of(p.bulges.begin(), p.bulges.end(),
                                [](double b) { return b != 0; })) {
                    e.numbers = static_cast<uint32_t>(drawing_.numbers.size());
                    drawing_.numbers.insert(drawing_.numbers.end(), p.bulges.begin(),
                                            p.bulges.end());
                }
                break;
            case Type::Spline: {
                const std::vector<Point> points = splineToPolyline(p);
                if (points.empty()) return {};
                e.kind = EntityKind::Polyline;
                e.mirrored = false;
                e.closed = false;
                e.firstPoint = addPoints(points);
                e.pointCount = static_cast<uint32_t>(points.size());
                break;
            }
            case Type::Circle:
            case Type::Arc:
                e.kind = p.type == Type::Circle ? EntityKind::Circle : EntityKind::Arc;
                e.firstPoint = addPoints({p.corners[0]});
                e.pointCount = 1;
                e.numbers = addValues(p);
                break;
            case Type::Ellipse:
                e.kind = EntityKind::Ellipse;
                e.mirrored = false;
                if (p.values[0] == 0) p.values[0] = 1;
                if (p.values[1] == 0 && p.values[2] == 0) p.values[2] = 2 * std::numbers::pi;
                e.firstPoint = addPoints({p.corners[0], p.corners[1]});
                e.pointCount = 2;
                e.numbers = addValues(p);
                break;
            case Type::Text:
            case Type::Attrib:
                return storeText(p, e);
            case Type::MText:
                return storeParagraph(p, e);
            case Type::Insert:
            case Type::Dimension:
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
                    drawing_.numbers.insert(
                        drawing_.numbers.end(),
                        {std::clamp(p.columns, 1.0, 1000.0), std::clamp(p.rows, 1.0, 1000.0),
                         p.columnSpacing, p.rowSpacing});
                }
                break;
            case Type::Point:
                e.kind = EntityKind::Point;
                e.mirrored = false;
                e.firstPoint = addPoints({p.corners[0]});
                e.pointCount = 1;
                break;
            case Type::Solid:
                // SOLID lists its corners in a Z: the third and fourth swap places.
                e.kind = EntityKind::Solid;
                e.firstPoint = addPoints({p.corners[0], p.corners[1], p.corners[3], p.corners[2]});
                e.pointCount = 4;
                e.closed = true;
                break;
            case Type::Face:
                e.kind = EntityKind::Face;
                e.mirrored = false;
                e.firstPoint = addPoints({p.corners[0], p.corners[1], p.corners[2], p.corners[3]});
                e.pointCount = 4;
                e.closed = true;
                break;
            default:
                return {};  // entities we do not draw
        }
        return push(e);
    }

    std::u32string decodeText(std::string_view raw) const { return decodeDxfText(raw, utf8_); }

    Result<void> storeText(Pending& p, Entity e) {
        if (!work_.spend(cost::kTextByte * static_cast<int64_t>(p.text.size())))
            return work_.stopError();
        e.kind = EntityKind::Text;
        if (p.values[0] <= 0) p.values[0] = 1;
        if (p.values[2] <= 0) p.values[2] = 1;
        e.numbers = addValues(p);
        // TEXT places itself by its second point unless it is left on the baseline.
        const bool aligned = e.horizontalAlign != 0 || e.verticalAlign != 0;
        e.firstPoint =
            addPoints({p.corners[0], aligned && p.hasSecond ? p.corners[1] : p.corners[0]});
        e.pointCount = 2;
        e.reference = static_cast<uint32_t>(drawing_.texts.size());
        drawing_.texts.push_back(decodeText(p.text));
        return push(e);
    }

    // MTEXT becomes one TEXT per line, placed as its attachment point says.
    Result<void> storeParagraph(Pending& p, Entity e) {
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

    GroupReader groups_;
    WorkMeter& work_;
    Group group_;
    bool pushedBack_ = false;
    bool sawSection_ = false;
    bool utf8_ = false;
    Point extMin_{1e20, 1e20};
    Point extMax_{-1e20, -1e20};
    Drawing drawing_;
    std::unordered_map<std::string, uint32_t> layers_;
    std::unordered_map<std::string, uint32_t> blockNames_;
    std::string lastLayerName_;
    uint32_t lastLayer_ = kNone;
};

}  // namespace

Result<Drawing> readDrawing(const ByteSource& file, WorkMeter& work) {
    return DrawingReader(file, work).read();
}

Result<Drawing> readDrawing(std::span<const uint8_t> bytes, WorkMeter& work) {
    return readDrawing(MemorySource(bytes), work);
}

}  // namespace pictavo::imaging::dxf
