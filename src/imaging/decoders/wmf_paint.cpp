// Colours, pens and brushes as the device context selects them, and shapes
// filled with the brush and outlined with the pen, as GDI draws them.

#include <algorithm>
#include <cmath>

#include "imaging/decoders/wmf_device.h"

namespace pictavo::imaging::wmf {

namespace {

using vector::FillRule;
using vector::Paint;
using vector::Path;

Paint patternPaint(const std::shared_ptr<const vector::Tile>& pattern) {
    return Paint(pattern->pixels.empty() ? rgb(0, 0, 0) : pattern->pixels.front(), pattern);
}

}  // namespace

Pixel Player::colourOf(uint32_t ref) const {
    if ((ref >> 24) == 1) {
        const uint32_t index = ref & 0xFFFF;
        if (state_.palette && index < state_.palette->size()) return (*state_.palette)[index];
        return rgb(0, 0, 0);
    }
    return rgb(static_cast<uint8_t>(ref), static_cast<uint8_t>(ref >> 8),
               static_cast<uint8_t>(ref >> 16));
}

vector::Pen Player::devicePen() const {
    vector::Pen pen;
    pen.width = std::max(1.0, state_.pen.width * std::abs(scaleX()));
    const int cap = state_.pen.style & 0x0F00;
    const int join = state_.pen.style & 0xF000;
    pen.cap = cap == kCapFlat     ? vector::LineCap::Butt
              : cap == kCapSquare ? vector::LineCap::Square
                                  : vector::LineCap::Round;
    pen.join = join == kJoinBevel   ? vector::LineJoin::Bevel
               : join == kJoinMiter ? vector::LineJoin::Miter
                                    : vector::LineJoin::Round;
    const double unit = pen.width;
    switch (state_.pen.style & 0x0F) {
        case kPenDash:
            pen.dashes = {6 * unit, 2 * unit};
            break;
        case kPenDot:
            pen.dashes = {unit, unit};
            break;
        case kPenDashDot:
            pen.dashes = {3 * unit, unit, unit, unit};
            break;
        case kPenDashDotDot:
            pen.dashes = {3 * unit, unit, unit, unit, unit, unit};
            break;
        default:
            break;
    }
    if (!pen.dashes.empty()) pen.cap = vector::LineCap::Butt;
    return pen;
}

std::optional<Paint> Player::brushPaint() const {
    const BrushState& brush = state_.brush;
    switch (brush.style) {
        case kBrushNull:
            return std::nullopt;
        case kBrushHatched:
            return hatchPaint(brush);
        case kBrushPattern:
        case kBrushDibPattern:
            if (brush.pattern) return patternPaint(brush.pattern);
            return Paint(colourOf(brush.colour));
        default:
            return Paint(colourOf(brush.colour));
    }
}

Paint Player::hatchPaint(const BrushState& brush) const {
    auto tile = std::make_shared<vector::Tile>();
    tile->width = tile->height = 8;
    const Pixel ink = colourOf(brush.colour);
    const Pixel paper = state_.opaqueBackground ? colourOf(state_.backgroundColour) : 0u;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool horizontal = y == 7;
            const bool vertical = x == 0;
            const bool forward = x == y;
            const bool backward = x + y == 7;
            bool on = false;
            switch (brush.hatch) {
                case 0:
                    on = horizontal;
                    break;
                case 1:
                    on = vertical;
                    break;
                case 2:
                    on = forward;
                    break;
                case 3:
                    on = backward;
                    break;
                case 4:
                    on = horizontal || vertical;
                    break;
                default:
                    on = forward || backward;
                    break;
            }
            tile->pixels.push_back(on ? ink : paper);
        }
    }
    return Paint(ink, std::move(tile));
}

// Fills with the brush, then outlines with the pen, as GDI draws shapes.
void Player::drawShape(const Path& path, bool filled) {
    if (drawsNothing()) return;
    if (filled) {
        if (auto paint = brushPaint()) canvas_.fillPath(path, {}, state_.fillRule, *paint);
    }
    strokeShape(path);
}

void Player::strokeShape(const Path& path) {
    if (drawsNothing() || (state_.pen.style & 0x0F) == kPenNull) return;
    canvas_.strokePath(path, {}, devicePen(), colourOf(state_.pen.colour));
}

void Player::fillDeviceRect(const vector::Rect& rect, Paint paint) {
    Path path;
    path.addRectangle({rect.left, rect.top}, {rect.right, rect.bottom});
    canvas_.fillPath(path, {}, FillRule::NonZero, paint);
}

}  // namespace pictavo::imaging::wmf
