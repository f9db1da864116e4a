#include "imaging/decoders/wmf_record_table.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "imaging/decoders/wmf_device.h"
#include "imaging/decoders/wmf_frame_finder.h"
#include "imaging/decoders/wmf_objects.h"
#include "imaging/decoders/wmf_records.h"

namespace pictavo::imaging::wmf {

namespace {

using Draw = void (*)(Player&, const Params&);
using Bounds = void (*)(FrameFinder&, const Params&);

// --- what records say about the picture's place ---

// A point stored as y, x from word.
template <size_t word>
void pointAt(FrameFinder& f, const Params& p) {
    f.add(p.i16(word + 1), p.i16(word));
}

// A box stored as bottom, right, top, left from word.
template <size_t word>
void boxAt(FrameFinder& f, const Params& p) {
    f.add(p.i16(word + 3), p.i16(word + 2));
    f.add(p.i16(word + 1), p.i16(word));
}

void polyPoints(FrameFinder& f, const Params& p) {
    for (size_t i = 0; i < p.u16(0) && 2 + 2 * i < p.words(); ++i) {
        f.add(p.i16(1 + 2 * i), p.i16(2 + 2 * i));
    }
}

void polyPolygonPoints(FrameFinder& f, const Params& p) {
    const size_t polygons = p.u16(0);
    for (size_t w = 1 + polygons; w + 1 < p.words(); w += 2) f.add(p.i16(w), p.i16(w + 1));
}

void textOutPlace(FrameFinder& f, const Params& p) {
    const size_t length = p.u16(0);
    const size_t words = (length + 1) / 2;
    f.addText(p.i16(2 + words), p.i16(1 + words), length);
}

// --- what records change in the device context ---

void setWindowOrg(Player& player, const Params& p) {
    player.state().window.originX = p.i16(1);
    player.state().window.originY = p.i16(0);
}

void setWindowExt(Player& player, const Params& p) {
    if (p.i16(1) != 0 && p.i16(0) != 0) {
        player.state().window.extentX = p.i16(1);
        player.state().window.extentY = p.i16(0);
    }
}

void offsetWindowOrg(Player& player, const Params& p) {
    player.state().window.originX += p.i16(1);
    player.state().window.originY += p.i16(0);
}

void scaleWindowExt(Player& player, const Params& p) {
    Frame& window = player.state().window;
    if (p.i16(0) != 0 && p.i16(2) != 0 && p.i16(1) != 0 && p.i16(3) != 0) {
        window.extentX = window.extentX * p.i16(3) / p.i16(2);
        window.extentY = window.extentY * p.i16(1) / p.i16(0);
    }
}

void createPatternBrush(Player& player, const Params&) {
    // An old device-dependent bitmap: drawn as a mid-grey brush.
    GdiObject brush;
    brush.kind = GdiObject::Kind::Brush;
    brush.brush.colour = 0x808080;
    player.addObject(std::move(brush));
}

constexpr std::array kRecords = std::to_array<RecordHandler>({
    {kSaveDc, [](Player& d, const Params&) { d.save(); }, nullptr},
    {kCreatePalette, [](Player& d, const Params& p) { d.createPalette(p); }, nullptr},
    {kSetBkMode,
     [](Player& d, const Params& p) { d.state().opaqueBackground = p.u16(0) != kBkTransparent; },
     nullptr},
    {kSetRop2, [](Player& d, const Params& p) { d.state().rop2 = p.u16(0); }, nullptr},
    {kSetPolyFillMode,
     [](Player& d, const Params& p) {
         d.state().fillRule = p.u16(0) == 2 ? vector::FillRule::NonZero : vector::FillRule::EvenOdd;
     },
     nullptr},
    {kSetTextCharExtra, [](Player& d, const Params& p) { d.state().textCharExtra = p.i16(0); },
     nullptr},
    {kRestoreDc, [](Player& d, const Params& p) { d.restore(p.i16(0)); }, nullptr},
    {kSelectClipRegion, [](Player& d, const Params& p) { d.selectClipRegion(p.u16(0)); }, nullptr},
    {kSelectObject, [](Player& d, const Params& p) { d.selectObject(p.u16(0)); }, nullptr},
    {kSetTextAlign, [](Player& d, const Params& p) { d.state().textAlign = p.u16(0); }, nullptr},
    {kDibCreatePatternBrush, [](Player& d, const Params& p) { d.createDibPatternBrush(p); },
     nullptr},
    {kDeleteObject, [](Player& d, const Params& p) { d.deleteObject(p.u16(0)); }, nullptr},
    {kCreatePatternBrush, createPatternBrush, nullptr},
    {kSetBkColor, [](Player& d, const Params& p) { d.state().backgroundColour = p.u32(0); },
     nullptr},
    {kSetTextColor, [](Player& d, const Params& p) { d.state().textColour = p.u32(0); }, nullptr},
    {kSetWindowOrg, setWindowOrg,
     [](FrameFinder& f, const Params& p) { f.setOrigin(p.i16(1), p.i16(0)); }},
    {kSetWindowExt, setWindowExt,
     [](FrameFinder& f, const Params& p) { f.setExtent(p.i16(1), p.i16(0)); }},
    {kOffsetWindowOrg, offsetWindowOrg, nullptr},
    {kLineTo, [](Player& d, const Params& p) { d.lineTo(p); }, pointAt<0>},
    {kMoveTo,
     [](Player& d, const Params& p) { d.state().position = d.toDevice(p.i16(1), p.i16(0)); },
     pointAt<0>},
    {kFillRegion, [](Player& d, const Params& p) { d.fillRegion(p.u16(0), p.u16(1)); }, nullptr},
    {kSelectPalette, [](Player& d, const Params& p) { d.selectObject(p.u16(0)); }, nullptr},
    {kCreatePenIndirect, [](Player& d, const Params& p) { d.addObject(readPen(p)); }, nullptr},
    {kCreateFontIndirect, [](Player& d, const Params& p) { d.addObject(readFont(p)); },
     [](FrameFinder& f, const Params& p) {
         f.setTextHeight(std::abs(static_cast<double>(p.i16(0))));
     }},
    {kCreateBrushIndirect, [](Player& d, const Params& p) { d.addObject(readBrush(p)); }, nullptr},
    {kPolygon, [](Player& d, const Params& p) { d.polyline(p, true); }, polyPoints},
    {kPolyline, [](Player& d, const Params& p) { d.polyline(p, false); }, polyPoints},
    {kScaleWindowExt, scaleWindowExt, nullptr},
    {kIntersectClipRect, [](Player& d, const Params& p) { d.intersectClip(p); }, boxAt<0>},
    {kEllipse, [](Player& d, const Params& p) { d.ellipse(p); }, boxAt<0>},
    {kRectangle, [](Player& d, const Params& p) { d.rectangle(p); }, boxAt<0>},
    {kSetPixel, [](Player& d, const Params& p) { d.setPixel(p); }, nullptr},
    {kTextOut, [](Player& d, const Params& p) { d.textOut(p); }, textOutPlace},
    {kPolyPolygon, [](Player& d, const Params& p) { d.polyPolygon(p); }, polyPolygonPoints},
    {kRoundRect, [](Player& d, const Params& p) { d.roundRect(p); }, boxAt<2>},
    {kPatBlt, [](Player& d, const Params& p) { d.patBlt(p); }, nullptr},
    {kCreateRegion, [](Player& d, const Params& p) { d.createRegion(p); }, nullptr},
    {kArc, [](Player& d, const Params& p) { d.arcFamily(p, 0); }, boxAt<4>},
    {kPie, [](Player& d, const Params& p) { d.arcFamily(p, 2); }, boxAt<4>},
    {kChord, [](Player& d, const Params& p) { d.arcFamily(p, 1); }, boxAt<4>},
    {kDibBitBlt, [](Player& d, const Params& p) { d.dibBitBlt(p); }, nullptr},
    {kExtTextOut, [](Player& d, const Params& p) { d.extTextOut(p); },
     [](FrameFinder& f, const Params& p) { f.addText(p.i16(1), p.i16(0), p.u16(2)); }},
    {kDibStretchBlt, [](Player& d, const Params& p) { d.dibStretchBlt(p); }, nullptr},
    {kSetDibToDev, [](Player& d, const Params& p) { d.setDibToDevice(p); }, nullptr},
    {kStretchDib, [](Player& d, const Params& p) { d.stretchDib(p); }, nullptr},
});

constexpr bool sortedByFunction() {
    for (size_t i = 1; i < kRecords.size(); ++i) {
        if (kRecords[i - 1].function >= kRecords[i].function) return false;
    }
    return true;
}
static_assert(sortedByFunction(), "records are looked up by halving");

}  // namespace

const RecordHandler* findRecord(uint16_t function) {
    const auto* found = std::lower_bound(
        kRecords.begin(), kRecords.end(), function,
        [](const RecordHandler& record, uint16_t wanted) { return record.function < wanted; });
    return found != kRecords.end() && found->function == function ? &*found : nullptr;
}

}  // namespace pictavo::imaging::wmf
