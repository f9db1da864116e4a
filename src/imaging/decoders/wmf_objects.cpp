#include "imaging/decoders/wmf_objects.h"

#include <cmath>
#include <utility>

namespace pictavo::imaging::wmf {

namespace {

GdiObject objectOf(GdiObject::Kind kind) {
    GdiObject made;
    made.kind = kind;
    return made;
}

}  // namespace

void ObjectTable::add(GdiObject object) {
    const auto slot = freeSlots_.take();
    if (!slot) return;
    if (*slot >= objects_.size()) objects_.resize(*slot + 1);
    objects_[*slot] = std::move(object);
}

void ObjectTable::remove(size_t index) {
    if (index >= objects_.size() || objects_[index].kind == GdiObject::Kind::Free) return;
    objects_[index] = GdiObject{};
    freeSlots_.release(index);
}

const GdiObject* ObjectTable::find(size_t index) const {
    return index < objects_.size() && objects_[index].kind != GdiObject::Kind::Free
               ? &objects_[index]
               : nullptr;
}

const GdiObject* ObjectTable::find(size_t index, GdiObject::Kind kind) const {
    const GdiObject* found = find(index);
    return found && found->kind == kind ? found : nullptr;
}

GdiObject readPen(const Params& p) {
    GdiObject pen = objectOf(GdiObject::Kind::Pen);
    pen.pen.style = p.u16(0);
    pen.pen.width = std::abs(static_cast<double>(p.i16(1)));
    pen.pen.colour = p.u32(3);
    return pen;
}

GdiObject readBrush(const Params& p) {
    GdiObject brush = objectOf(GdiObject::Kind::Brush);
    brush.brush.style = p.u16(0);
    brush.brush.colour = p.u32(1);
    brush.brush.hatch = p.u16(3);
    return brush;
}

GdiObject readFont(const Params& p) {
    GdiObject font = objectOf(GdiObject::Kind::Font);
    font.font.height = p.i16(0);
    font.font.width = p.i16(1);
    font.font.escapement = p.i16(2);
    font.font.weight = p.i16(4);
    const uint16_t flags = p.u16(5);
    font.font.italic = (flags & 0xFF) != 0;
    font.font.underline = (flags >> 8) != 0;
    font.font.strikeOut = (p.u16(6) & 0xFF) != 0;
    return font;
}

GdiObject readPalette(const Params& p) {
    GdiObject palette = objectOf(GdiObject::Kind::Palette);
    const size_t count = p.u16(1);
    for (size_t i = 0; i < count && 2 + 2 * i + 1 < p.words(); ++i) {
        const uint32_t entry = p.u32(2 + 2 * i);
        palette.palette.push_back(rgb(static_cast<uint8_t>(entry), static_cast<uint8_t>(entry >> 8),
                                      static_cast<uint8_t>(entry >> 16)));
    }
    return palette;
}

GdiObject readRegion(const Params& p) {
    // nextInChain, objectType, objectCount(2), regionSize, scanCount,
    // maxScan, bounding box, then scans of (count, top, bottom, pairs, count).
    GdiObject made = objectOf(GdiObject::Kind::Region);
    Rects& region = made.region;
    const size_t scans = p.u16(5);
    size_t word = 11;
    for (size_t scan = 0; scan < scans && word < p.words(); ++scan) {
        const size_t count = p.u16(word);
        const double top = p.i16(word + 1);
        const double bottom = p.i16(word + 2);
        for (size_t i = 0; i + 1 < count && word + 3 + i + 1 < p.words(); i += 2) {
            region.rects.push_back({static_cast<double>(p.i16(word + 3 + i)), top,
                                    static_cast<double>(p.i16(word + 4 + i)), bottom});
        }
        word += 4 + count;
    }
    if (region.rects.empty()) {
        region.rects.push_back({static_cast<double>(p.i16(7)), static_cast<double>(p.i16(8)),
                                static_cast<double>(p.i16(9)), static_cast<double>(p.i16(10))});
    }
    return made;
}

}  // namespace pictavo::imaging::wmf
