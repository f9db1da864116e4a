#include "imaging/decoders/wmf_player.h"

#include <algorithm>
#include <utility>

#include "imaging/decoders/bmp_dib.h"
#include "imaging/decoders/wmf_device.h"
#include "imaging/decoders/wmf_frame_finder.h"
#include "imaging/decoders/wmf_record_table.h"
#include "imaging/decoders/wmf_records.h"
#include "imaging/work_costs.h"

namespace pictavo::imaging::wmf {

using vector::Point;

Player::Player(vector::PathPainter& canvas, const Frame& window)
    : canvas_(canvas), objects_(canvas.work()) {
    state_.window = window;
    state_.clipRight = canvas.width();
    state_.clipBottom = canvas.height();
}

Result<void> Player::play(std::span<const uint8_t> records) {
    size_t at = 0;
    while (at + 6 <= records.size()) {
        if (canvas_.stopped()) return canvas_.work().stopError();
        const Params head(records.subspan(at, 6));
        const uint32_t size = head.u32(0);
        const uint16_t function = head.u16(2);
        if (function == kEof || size < 3) break;
        const uint64_t bytes = uint64_t{size} * 2;
        const size_t available = records.size() - at;
        // A record cut short by the file's end still gives what it has.
        const auto params =
            records.subspan(at + 6, static_cast<size_t>(std::min<uint64_t>(bytes, available) - 6));
        if (!canvas_.work().spend(cost::kRecord)) return canvas_.work().stopError();
        if (const RecordHandler* record = findRecord(function); record && record->draw) {
            record->draw(*this, Params(params));
        }
        if (canvas_.stopped()) return canvas_.work().stopError();
        if (bytes >= available) break;
        at += static_cast<size_t>(bytes);
    }
    return {};
}

// Where logical coordinates land on the canvas.
Point Player::toDevice(double x, double y) const {
    const Frame& w = state_.window;
    return {(x - w.originX) * scaleX(), (y - w.originY) * scaleY()};
}

double Player::scaleX() const {
    const double extent = state_.window.extentX;
    return extent == 0 ? 0 : canvas_.width() / extent;
}

double Player::scaleY() const {
    const double extent = state_.window.extentY;
    return extent == 0 ? 0 : canvas_.height() / extent;
}

Point Player::pointAt(const Params& p, size_t word) const {
    return toDevice(p.i16(word), p.i16(word + 1));
}

vector::Rect Player::deviceRect(double left, double top, double right, double bottom) const {
    const Point a = toDevice(left, top);
    const Point b = toDevice(right, bottom);
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

void Player::addObject(GdiObject object) {
    (void)canvas_.work().spend(cost::kObject);
    objects_.add(std::move(object));
}

void Player::selectObject(size_t index) {
    const GdiObject* chosen = objects_.find(index);
    if (!chosen) return;
    switch (chosen->kind) {
        case GdiObject::Kind::Pen:
            state_.pen = chosen->pen;
            break;
        case GdiObject::Kind::Brush:
            state_.brush = chosen->brush;
            break;
        case GdiObject::Kind::Font:
            state_.font = chosen->font;
            break;
        case GdiObject::Kind::Palette:
            state_.palette = chosen->palette;
            break;
        case GdiObject::Kind::Region:
            clipToRegion(chosen->region);
            break;
        case GdiObject::Kind::Free:
            break;
    }
}

void Player::createRegion(const Params& p) {
    if (!spendPoints(p.words())) return;
    if (auto region = readRegion(p, canvas_.work())) addObject(std::move(*region));
}

void Player::createPalette(const Params& p) {
    if (auto palette = readPalette(p, canvas_.work())) addObject(std::move(*palette));
}

void Player::createDibPatternBrush(const Params& p) {
    GdiObject brush;
    brush.kind = GdiObject::Kind::Brush;
    brush.brush.style = kBrushPattern;
    brush.brush.pattern = readPattern(p.from(2), p.u16(1) == 1, brush.heldBytes);
    if (canvas_.stopped()) return;
    addObject(std::move(brush));
}

Result<void> playRecords(std::span<const uint8_t> records, const Frame& window,
                         vector::PathPainter& canvas) {
    return Player(canvas, window).play(records);
}

std::optional<Frame> findFrame(std::span<const uint8_t> records, WorkMeter& work) {
    FrameFinder finder;
    size_t at = 0;
    while (at + 6 <= records.size()) {
        const Params head(records.subspan(at, 6));
        const uint32_t size = head.u32(0);
        const uint16_t function = head.u16(2);
        if (function == kEof || size < 3 || uint64_t{size} * 2 > records.size() - at) break;
        const Params p(records.subspan(at + 6, size_t{size} * 2 - 6));
        if (!work.spend(cost::kRecord)) return std::nullopt;
        if (const RecordHandler* record = findRecord(function); record && record->bounds) {
            record->bounds(finder, p);
        }
        at += size_t{size} * 2;
    }
    return finder.frame();
}

}  // namespace pictavo::imaging::wmf
