#include "imaging/decoders/wmf_objects.h"

#include <algorithm>
#include <cmath>
#include <memory>
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
    if (!slot) {
        work_.release(object.heldBytes);
        return;
    }
    if (*slot >= objects_.size()) objects_.resize(*slot + 1);
    objects_[*slot] = std::move(object);
}

void ObjectTable::remove(size_t index) {
    if (index >= objects_.size() || objects_[index].kind == GdiObject::Kind::Free) return;
    work_.release(objects_[index].heldBytes);
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

std::optional<GdiObject> readPalette(const Params& p, WorkMeter& work) {
    const size_t count = std::min<size_t>(p.u16(1), p.words() > 2 ? (p.words() - 2) / 2 : 0);
    const int64_t bytes = static_cast<int64_t>(count) * static_cast<int64_t>(sizeof(Pixel));
    if (!work.hold(bytes)) return std::nullopt;
    GdiObject palette = objectOf(GdiObject::Kind::Palette);
    palette.heldBytes = bytes;
    std::vector<Pixel> colours;
    colours.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t entry = p.u32(2 + 2 * i);
        colours.push_back(rgb(static_cast<uint8_t>(entry), static_cast<uint8_t>(entry >> 8),
                              static_cast<uint8_t>(entry >> 16)));
    }
    palette.palette = std::make_shared<const std::vector<Pixel>>(std::move(colours));
    return palette;
}

namespace {

// A region's scans, from word 11: (count, top, bottom, count x-values, count).
// The rectangles of the scan at word, as far as the record holds them.
size_t rectanglesOfScan(const Params& p, size_t word) {
    const size_t stored = p.words() > word + 3 ? p.words() - word - 3 : 0;
    return std::min<size_t>(p.u16(word), stored) / 2;
}

size_t rectanglesOfRegion(const Params& p) {
    size_t total = 0;
    const size_t scans = p.u16(5);
    for (size_t scan = 0, word = 11; scan < scans && word < p.words(); ++scan) {
        total += rectanglesOfScan(p, word);
        word += 4 + p.u16(word);
    }
    return std::max<size_t>(total, 1);
}

vector::Rect boundsOf(const std::vector<vector::Rect>& rects) {
    vector::Rect bounds = rects.front();
    for (const vector::Rect& r : rects) {
        bounds.left = std::min({bounds.left, r.left, r.right});
        bounds.top = std::min({bounds.top, r.top, r.bottom});
        bounds.right = std::max({bounds.right, r.left, r.right});
        bounds.bottom = std::max({bounds.bottom, r.top, r.bottom});
    }
    return bounds;
}

}  // namespace

std::optional<GdiObject> readRegion(const Params& p, WorkMeter& work) {
    // nextInChain, objectType, objectCount(2), regionSize, scanCount,
    // maxScan, bounding box, then the scans.
    const size_t total = rectanglesOfRegion(p);
    // In 64 bits: a size_t product wraps at 4 GB in the 32-bit builds.
    const int64_t bytes = static_cast<int64_t>(total) * static_cast<int64_t>(sizeof(vector::Rect));
    if (!work.hold(bytes)) return std::nullopt;
    GdiObject made = objectOf(GdiObject::Kind::Region);
    made.heldBytes = bytes;
    Rects& region = made.region;
    region.rects.reserve(total);
    const size_t scans = p.u16(5);
    for (size_t scan = 0, word = 11; scan < scans && word < p.words(); ++scan) {
        const double top = p.i16(word + 1);
        const double bottom = p.i16(word + 2);
        for (size_t i = 0; i < 2 * rectanglesOfScan(p, word); i += 2) {
            region.rects.push_back({static_cast<double>(p.i16(word + 3 + i)), top,
                                    static_cast<double>(p.i16(word + 4 + i)), bottom});
        }
        word += 4 + p.u16(word);
    }
    if (region.rects.empty()) {
        region.rects.push_back({static_cast<double>(p.i16(7)), static_cast<double>(p.i16(8)),
                                static_cast<double>(p.i16(9)), static_cast<double>(p.i16(10))});
    }
    region.bounds = boundsOf(region.rects);
    return made;
}

}  // namespace pictavo::imaging::wmf
