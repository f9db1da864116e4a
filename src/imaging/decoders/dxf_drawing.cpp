#include "imaging/decoders/dxf_drawing.h"

#include <cmath>
#include <string_view>

#include "imaging/decoders/dxf_drawing_builder.h"
#include "imaging/decoders/dxf_entity_groups.h"
#include "imaging/decoders/dxf_groups.h"
#include "imaging/errors.h"
#include "imaging/work_costs.h"

namespace pictavo::imaging::dxf {

namespace {

// Room for as many entities as a file of this size usually holds (the
// shortest take about 100 bytes of text or 50 of binary), so that a big
// drawing is not copied again and again as it grows.
size_t expectedEntities(const GroupReader& groups) {
    return static_cast<size_t>(
        std::min<uint64_t>(kMaxEntities, groups.size() / (groups.binary() ? 48 : 96)));
}

class DrawingReader {
  public:
    DrawingReader(const ByteSource& file, WorkMeter& work)
        : groups_(file), work_(work), builder_(work, expectedEntities(groups_)) {}

    Result<Drawing> read() {
        builder_.layerIndex("0");
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
                builder_.drawing().modelFirst = builder_.entityCount();
                section = readEntities("ENDSEC");
                builder_.drawing().modelCount =
                    builder_.entityCount() - builder_.drawing().modelFirst;
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
        return std::move(builder_.drawing());
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
                builder_.setUtf8(group_.text >= std::string_view("AC1021"));
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
            builder_.drawing().headerExtents.add(extMin_);
            builder_.drawing().headerExtents.add(extMax_);
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
        builder_.setLayer(std::move(layer));
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
            block.firstEntity = builder_.entityCount();
            if (auto read = readEntities("ENDBLK"); !read) return read;
            block.entityCount = builder_.entityCount() - block.firstEntity;
            if (flags & 4) block.entityCount = 0;  // an external reference: not here to draw
            builder_.drawing().blocks[name] = block;
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
        while (!atEnd() && group_.code != 0) {
            collectGroup(p, group_);
            // A stopped meter ends the entity as the file's end would.
            if (!holdLists(p)) break;
            advance();
        }
        return p;
    }

    // The lists of the entity being read (a polyline's vertices, a spline's
    // knots) are held on the meter as they grow, each number with room for
    // its vector to double, and given back once the entity is stored: a
    // polyline of millions of vertices is refused before it takes the
    // memory of a picture.
    bool holdLists(const Pending& p) {
        // In 64 bits: a size_t product wraps at 4 GB in the 32-bit builds.
        const int64_t bytes =
            static_cast<int64_t>(listedNumbers(p)) * 2 * static_cast<int64_t>(sizeof(double));
        if (bytes <= listsHeld_) return true;
        const bool held = work_.hold(bytes - listsHeld_);
        listsHeld_ = bytes;
        return held;
    }

    Result<void> readEntity(std::string_view typeName) {
        const Type type = typeNamed(typeName);
        Pending p = gather(type);
        auto stored = storeEntity(p);
        work_.release(listsHeld_);
        listsHeld_ = 0;
        if (work_.stopped()) return work_.stopError();
        return stored;
    }

    Result<void> storeEntity(Pending& p) {
        if (work_.stopped()) return {};
        if (p.type == Type::Polyline) return readOldPolyline(p);
        if (p.type == Type::Insert) return readInsert(p);
        if (p.paperSpace || p.invisible) return {};
        return builder_.store(p);
    }

    // POLYLINE, then VERTEX entities up to SEQEND.
    Result<void> readOldPolyline(Pending& polyline) {
        while (!atEnd() && group_.is(0, "VERTEX")) {
            const Pending vertex = gather(Type::Vertex);
            if (vertex.flags & 128 && !(vertex.flags & 64))
                continue;  // a polyface mesh's face record
            polyline.points.push_back(vertex.corners[0]);
            polyline.bulges.push_back(vertex.bulge);
            if (!holdLists(polyline)) return work_.stopError();
        }
        if (group_.is(0, "SEQEND")) gather(Type::Other);
        if (polyline.paperSpace || polyline.invisible) return {};
        polyline.type = Type::LwPolyline;
        return builder_.store(polyline);
    }

    // INSERT, and its ATTRIB entities up to SEQEND when it has them.
    Result<void> readInsert(Pending& insert) {
        const bool visible = !insert.paperSpace && !insert.invisible;
        if (visible) {
            if (auto stored = builder_.store(insert); !stored) return stored;
        }
        if (group_.is(0, "ATTRIB")) {
            while (!atEnd() && group_.is(0, "ATTRIB")) {
                Pending attribute = gather(Type::Attrib);
                if (visible && !attribute.invisible && !attribute.paperSpace) {
                    if (auto stored = builder_.store(attribute); !stored) return stored;
                }
            }
            if (group_.is(0, "SEQEND")) gather(Type::Other);
        }
        return {};
    }

    GroupReader groups_;
    WorkMeter& work_;
    DrawingBuilder builder_;
    Group group_;
    bool pushedBack_ = false;
    bool sawSection_ = false;
    int64_t listsHeld_ = 0;
    Point extMin_{1e20, 1e20};
    Point extMax_{-1e20, -1e20};
};

}  // namespace

Result<Drawing> readDrawing(const ByteSource& file, WorkMeter& work) {
    return DrawingReader(file, work).read();
}

Result<Drawing> readDrawing(std::span<const uint8_t> bytes, WorkMeter& work) {
    return readDrawing(MemorySource(bytes), work);
}

}  // namespace pictavo::imaging::dxf
