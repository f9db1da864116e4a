// Text in the stroke font, placed as GDI places it: alignment to the
// reference point or the current position, escapement, fixed or given
// advances, an opaque background box and clipping to the record's box.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "imaging/decoders/wmf_device.h"
#include "imaging/vector/stroke_font.h"
#include "imaging/work_costs.h"

namespace pictavo::imaging::wmf {

namespace {

using vector::FillRule;
using vector::Path;
using vector::Point;

constexpr int kTextAlignUpdateCp = 1;
constexpr int kTextAlignRight = 2;
constexpr int kTextAlignCenter = 6;
constexpr int kTextAlignBottom = 8;
constexpr int kTextAlignBaseline = 24;
constexpr int kExtTextOpaque = 2;
constexpr int kExtTextClipped = 4;

// Text of a font with no height set, in device pixels.
constexpr double kDefaultTextHeight = 16;

}  // namespace

struct Player::TextLayout {
    double em = 0;
    double advance = 0;
    std::vector<double> offsets;  // of each character along the baseline
    double total = 0;
    Point along;
    Point up;
    Point origin;
};

std::optional<Player::TextLayout> Player::layOutText(const std::u32string& text, Point logical,
                                                     const std::vector<double>& advances) {
    const FontState& font = state_.font;
    TextLayout layout;
    const double em = font.height == 0  ? kDefaultTextHeight
                      : font.height < 0 ? -font.height * std::abs(scaleY())
                                        : font.height * 0.85 * std::abs(scaleY());
    if (!(em > 0.5) || em > 1e5) return std::nullopt;
    layout.em = em;
    layout.advance = font.width > 0 ? font.width * std::abs(scaleX()) : 0.5 * em;
    const double extra = state_.textCharExtra * std::abs(scaleX());
    for (size_t i = 0; i < text.size(); ++i) {
        layout.offsets.push_back(layout.total);
        layout.total +=
            i < advances.size() ? advances[i] * std::abs(scaleX()) : layout.advance + extra;
    }
    const double angle = font.escapement / 10.0 * std::numbers::pi / 180;
    layout.along = {std::cos(angle), -std::sin(angle)};
    layout.up = {-std::sin(angle), -std::cos(angle)};

    const bool updateCp = (state_.textAlign & kTextAlignUpdateCp) != 0;
    const Point reference = updateCp ? state_.position : toDevice(logical.x, logical.y);
    const int horizontal = state_.textAlign & kTextAlignCenter;
    double shiftX = 0;
    if (horizontal == kTextAlignCenter) shiftX = -layout.total / 2;
    if (horizontal == kTextAlignRight) shiftX = -layout.total;
    const int vertical = state_.textAlign & kTextAlignBaseline;
    double shiftY = 0;                      // along "up"
    if (vertical == 0) shiftY = -0.8 * em;  // TA_TOP: the baseline lies an ascent below
    if (vertical == kTextAlignBottom) shiftY = 0.2 * em;
    layout.origin = reference + layout.along * shiftX + layout.up * shiftY;
    if (updateCp) state_.position = reference + layout.along * layout.total;
    return layout;
}

void Player::drawGlyphs(const std::u32string& text, const TextLayout& layout,
                        const std::vector<double>& advances) {
    const FontState& font = state_.font;
    const Point along = layout.along;
    const Point up = layout.up;
    const double capHeight = 0.7 * layout.em;
    Path glyphs;
    const double nominalWidth = layout.advance / vector::kGlyphAdvance * 0.9;
    const double slant = font.italic ? 0.2 : 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] < 0x20) continue;
        // Where the file spaces its glyphs itself, each of ours fills its
        // own cell, so narrow and wide letters keep their places.
        double glyphWidth = nominalWidth;
        if (i < advances.size()) {
            const double cell = std::abs(advances[i] * scaleX()) * 0.8 / vector::kGlyphInkWidth;
            glyphWidth = std::clamp(cell, 0.5 * nominalWidth, 1.3 * nominalWidth);
        }
        const Point at = layout.origin + along * layout.offsets[i];
        const vector::Transform place{along.x * glyphWidth,
                                      along.y * glyphWidth,
                                      up.x * capHeight + along.x * slant * capHeight,
                                      up.y * capHeight + along.y * slant * capHeight,
                                      at.x,
                                      at.y};
        vector::appendText(glyphs, std::u32string_view(&text[i], 1), place);
    }
    if (font.underline || font.strikeOut) {
        const double lift = font.underline ? -0.12 * layout.em : 0.3 * layout.em;
        glyphs.moveTo(layout.origin + up * lift);
        glyphs.lineTo(layout.origin + up * lift + along * layout.total);
    }
    vector::Pen pen;
    pen.width = std::max(1.0, layout.em * (font.weight >= 600 ? 0.1 : 0.065));
    canvas_.strokePath(glyphs, {}, pen, colourOf(state_.textColour));
}

void Player::drawText(std::string_view bytes, Point logical, const std::vector<double>& advances,
                      const vector::Rect* opaqueBox, const vector::Rect* clipBox) {
    if (drawsNothing()) return;
    if (!canvas_.work().spend(cost::kGlyph * static_cast<int64_t>(bytes.size()))) return;
    const std::u32string text = vector::fromWindows1252(bytes);
    const auto layout = layOutText(text, logical, advances);
    if (!layout) return;
    const Point origin = layout->origin;
    const Point along = layout->along;
    const Point up = layout->up;
    const double em = layout->em;
    const double total = layout->total;
    if (opaqueBox) fillDeviceRect(*opaqueBox, colourOf(state_.backgroundColour));
    if (state_.opaqueBackground && !opaqueBox && !text.empty()) {
        Path box;
        box.addPolygon({origin + up * (-0.2 * em), origin + up * (-0.2 * em) + along * total,
                        origin + up * (0.8 * em) + along * total, origin + up * (0.8 * em)});
        canvas_.fillPath(box, {}, FillRule::NonZero, colourOf(state_.backgroundColour));
    }
    if (clipBox) {
        canvas_.setClip(std::max(state_.clipLeft, static_cast<int>(clipBox->left)),
                        std::max(state_.clipTop, static_cast<int>(clipBox->top)),
                        std::min(state_.clipRight, static_cast<int>(std::ceil(clipBox->right))),
                        std::min(state_.clipBottom, static_cast<int>(std::ceil(clipBox->bottom))));
    }
    drawGlyphs(text, *layout, advances);
    if (clipBox) applyClip();
}

void Player::textOut(const Params& p) {
    const size_t length = p.u16(0);
    const size_t stringWords = (length + 1) / 2;
    const auto text = p.from(1).first(std::min(length, p.from(1).size()));
    const double y = p.i16(1 + stringWords);
    const double x = p.i16(2 + stringWords);
    drawText(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), {x, y}, {},
             nullptr, nullptr);
}

void Player::extTextOut(const Params& p) {
    const double y = p.i16(0);
    const double x = p.i16(1);
    const size_t length = p.u16(2);
    const int options = p.u16(3);
    size_t word = 4;
    std::optional<vector::Rect> box;
    // The rectangle is present when the options ask for it (and some
    // writers include it regardless: then the record has room for it).
    const size_t textWords = (length + 1) / 2;
    const bool hasRect =
        (options & (kExtTextOpaque | kExtTextClipped)) != 0 || p.words() >= 8 + textWords + length;
    if (hasRect) {
        box = deviceRect(p.i16(4), p.i16(5), p.i16(6), p.i16(7));
        word = 8;
    }
    const auto bytes = p.from(word);
    const auto text = bytes.first(std::min(length, bytes.size()));
    std::vector<double> advances;
    const size_t dxWord = word + textWords;
    if (p.words() >= dxWord + length) {
        for (size_t i = 0; i < length; ++i) advances.push_back(p.i16(dxWord + i));
    }
    const bool opaque = box && (options & kExtTextOpaque);
    const bool clipped = box && (options & kExtTextClipped);
    drawText(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), {x, y},
             advances, opaque ? &*box : nullptr, clipped ? &*box : nullptr);
}

}  // namespace pictavo::imaging::wmf
