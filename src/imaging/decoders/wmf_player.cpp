#include "imaging/decoders/wmf_player.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "imaging/decoders/bmp_dib.h"
#include "imaging/decoders/lowest_free_slots.h"
#include "imaging/decoders/wmf_records.h"
#include "imaging/vector/picture_size.h"
#include "imaging/vector/stroke_font.h"
#include "imaging/work_costs.h"

namespace pictavo::imaging::wmf {

namespace {

using vector::Canvas;
using vector::FillRule;
using vector::Paint;
using vector::Path;
using vector::Point;

// Pen styles (low bits), end caps and joins of a pen's style word.
constexpr int kPenSolid = 0;
constexpr int kPenDash = 1;
constexpr int kPenDot = 2;
constexpr int kPenDashDot = 3;
constexpr int kPenDashDotDot = 4;
constexpr int kPenNull = 5;
constexpr int kCapSquare = 0x0100;
constexpr int kCapFlat = 0x0200;
constexpr int kJoinBevel = 0x1000;
constexpr int kJoinMiter = 0x2000;

constexpr int kBrushSolid = 0;
constexpr int kBrushNull = 1;
constexpr int kBrushHatched = 2;
constexpr int kBrushPattern = 3;

constexpr int kTextAlignUpdateCp = 1;
constexpr int kTextAlignRight = 2;
constexpr int kTextAlignCenter = 6;
constexpr int kTextAlignBottom = 8;
constexpr int kTextAlignBaseline = 24;
constexpr int kExtTextOpaque = 2;
constexpr int kExtTextClipped = 4;

constexpr int kBkTransparent = 1;
constexpr int kRop2Nop = 11;

constexpr uint32_t kSrcCopy = 0x00CC0020;
constexpr uint32_t kSrcPaint = 0x00EE0086;
constexpr uint32_t kSrcAnd = 0x008800C6;
constexpr uint32_t kSrcInvert = 0x00660046;
constexpr uint32_t kNotSrcCopy = 0x00330008;
constexpr uint32_t kPatCopy = 0x00F00021;
constexpr uint32_t kBlackness = 0x00000042;
constexpr uint32_t kWhiteness = 0x00FF0062;

// A hostile file could save states forever; real ones nest a few deep.
constexpr size_t kMaxSavedStates = 1024;
// Text of a font with no height set, in device pixels.
constexpr double kDefaultTextHeight = 16;

// The parameter words of one record, read safely past their end as 0.
class Params {
  public:
    explicit Params(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    size_t words() const { return bytes_.size() / 2; }
    std::span<const uint8_t> bytes() const { return bytes_; }
    uint16_t u16(size_t word) const {
        const size_t at = word * 2;
        if (at + 1 >= bytes_.size()) return 0;
        return static_cast<uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
    }
    int16_t i16(size_t word) const { return static_cast<int16_t>(u16(word)); }
    uint32_t u32(size_t word) const { return u16(word) | (uint32_t{u16(word + 1)} << 16); }
    std::span<const uint8_t> from(size_t word) const {
        return word * 2 < bytes_.size() ? bytes_.subspan(word * 2) : std::span<const uint8_t>{};
    }

  private:
    std::span<const uint8_t> bytes_;
};

struct PenState {
    int style = kPenSolid;
    double width = 0;  // logical units; 0 draws one pixel wide
    uint32_t colour = 0;
};

struct BrushState {
    int style = kBrushSolid;
    uint32_t colour = 0xFFFFFF;
    int hatch = 0;
    std::shared_ptr<const Image> pattern;
};

struct FontState {
    int height = 0;
    int width = 0;
    int escapement = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

struct Rects {
    std::vector<vector::Rect> rects;  // logical
};

struct GdiObject {
    enum class Kind { Free, Pen, Brush, Font, Palette, Region };
    Kind kind = Kind::Free;
    PenState pen;
    BrushState brush;
    FontState font;
    std::vector<Pixel> palette;
    Rects region;
};

GdiObject objectOf(GdiObject::Kind kind) {
    GdiObject made;
    made.kind = kind;
    return made;
}

struct DcState {
    Frame window;
    PenState pen;
    BrushState brush;
    FontState font;
    std::vector<Pixel> palette;
    uint32_t textColour = 0;
    uint32_t backgroundColour = 0xFFFFFF;
    bool opaqueBackground = true;
    FillRule fillRule = FillRule::EvenOdd;
    int textAlign = 0;
    int rop2 = 13;
    int textCharExtra = 0;
    Point position;
    // Device clip; the whole canvas when not clipped.
    int clipLeft = 0;
    int clipTop = 0;
    int clipRight = 0;
    int clipBottom = 0;
};

class Player {
  public:
    Player(Canvas& canvas, const Frame& window) : canvas_(canvas) {
        state_.window = window;
        state_.clipRight = canvas.width();
        state_.clipBottom = canvas.height();
    }

    Result<void> play(std::span<const uint8_t> records) {
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
            const auto params = records.subspan(
                at + 6, static_cast<size_t>(std::min<uint64_t>(bytes, available) - 6));
            if (!canvas_.work().spend(cost::kRecord)) return canvas_.work().stopError();
            handle(function, Params(params));
            if (canvas_.stopped()) return canvas_.work().stopError();
            if (bytes >= available) break;
            at += static_cast<size_t>(bytes);
        }
        return {};
    }

  private:
    // Where logical coordinates land on the canvas.
    Point toDevice(double x, double y) const {
        const Frame& w = state_.window;
        return {(x - w.originX) * scaleX(), (y - w.originY) * scaleY()};
    }
    double scaleX() const {
        const double extent = state_.window.extentX;
        return extent == 0 ? 0 : canvas_.width() / extent;
    }
    double scaleY() const {
        const double extent = state_.window.extentY;
        return extent == 0 ? 0 : canvas_.height() / extent;
    }
    Point pointAt(const Params& p, size_t word) const {
        return toDevice(p.i16(word), p.i16(word + 1));
    }

    Pixel colourOf(uint32_t ref) const {
        if ((ref >> 24) == 1) {
            const uint32_t index = ref & 0xFFFF;
            if (index < state_.palette.size()) return state_.palette[index];
            return rgb(0, 0, 0);
        }
        return rgb(static_cast<uint8_t>(ref), static_cast<uint8_t>(ref >> 8),
                   static_cast<uint8_t>(ref >> 16));
    }

    // --- objects ---

    // The object takes the lowest free index, as Windows gives them; a full
    // table drops it.
    void addObject(GdiObject object) {
        (void)canvas_.work().spend(cost::kObject);
        const auto slot = freeSlots_.take();
        if (!slot) return;
        if (*slot >= objects_.size()) objects_.resize(*slot + 1);
        objects_[*slot] = std::move(object);
    }

    void deleteObject(size_t index) {
        if (index >= objects_.size() || objects_[index].kind == GdiObject::Kind::Free) return;
        objects_[index] = GdiObject{};
        freeSlots_.release(index);
    }

    // Counts work for count points about to be built into a path.
    bool spendPoints(size_t count) {
        return canvas_.work().spend(cost::kPoint * static_cast<int64_t>(count));
    }

    const GdiObject* object(size_t index) const {
        return index < objects_.size() && objects_[index].kind != GdiObject::Kind::Free
                   ? &objects_[index]
                   : nullptr;
    }

    void selectObject(size_t index) {
        const GdiObject* chosen = object(index);
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

    static PenState readPen(const Params& p) {
        PenState pen;
        pen.style = p.u16(0);
        pen.width = std::abs(static_cast<double>(p.i16(1)));
        pen.colour = p.u32(3);
        return pen;
    }

    int64_t bitmapRoom() { return vector::bitmapRoom(canvas_.image()); }

    std::shared_ptr<const Image> readPatternImage(std::span<const uint8_t> dib, bool indices) {
        auto image = decodePackedDib(dib, indices, state_.palette, bitmapRoom(), &canvas_.work());
        if (!image || image->width > 256 || image->height > 256) return nullptr;
        return std::make_shared<Image>(std::move(image.value()));
    }

    static Rects readRegion(const Params& p) {
        // nextInChain, objectType, objectCount(2), regionSize, scanCount,
        // maxScan, bounding box, then scans of (count, top, bottom, pairs, count).
        Rects region;
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
        return region;
    }

    // --- drawing helpers ---

    vector::Pen devicePen() const {
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

    bool drawsNothing() const { return state_.rop2 == kRop2Nop; }

    std::optional<Paint> brushPaint() const {
        const BrushState& brush = state_.brush;
        switch (brush.style) {
            case kBrushNull:
                return std::nullopt;
            case kBrushHatched:
                return hatchPaint(brush);
            case kBrushPattern:
            case 5:  // BS_DIBPATTERN
                if (brush.pattern) return patternPaint(*brush.pattern);
                return Paint(colourOf(brush.colour));
            default:
                return Paint(colourOf(brush.colour));
        }
    }

    Paint hatchPaint(const BrushState& brush) const {
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

    static Paint patternPaint(const Image& pattern) {
        auto tile = std::make_shared<vector::Tile>();
        tile->width = pattern.width;
        tile->height = pattern.height;
        tile->pixels = pattern.pixels;
        return Paint(pattern.pixels.empty() ? rgb(0, 0, 0) : pattern.pixels.front(),
                     std::move(tile));
    }

    void applyClip() {
        canvas_.setClip(state_.clipLeft, state_.clipTop, state_.clipRight, state_.clipBottom);
    }

    void intersectClip(const Params& p) {
        // Stored bottom, right, top, left.
        const Point a = toDevice(p.i16(3), p.i16(2));
        const Point b = toDevice(p.i16(1), p.i16(0));
        const auto round = [](double v) {
            return static_cast<int>(std::clamp(std::lround(v), -(1L << 30), 1L << 30));
        };
        state_.clipLeft = std::max(state_.clipLeft, round(std::min(a.x, b.x)));
        state_.clipTop = std::max(state_.clipTop, round(std::min(a.y, b.y)));
        state_.clipRight = std::min(state_.clipRight, round(std::max(a.x, b.x)));
        state_.clipBottom = std::min(state_.clipBottom, round(std::max(a.y, b.y)));
        applyClip();
    }

    void clipToRegion(const Rects& region) {
        double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
        for (const auto& rect : region.rects) {
            const Point a = toDevice(rect.left, rect.top);
            const Point b = toDevice(rect.right, rect.bottom);
            left = std::min({left, a.x, b.x});
            top = std::min({top, a.y, b.y});
            right = std::max({right, a.x, b.x});
            bottom = std::max({bottom, a.y, b.y});
        }
        if (region.rects.empty()) return;
        state_.clipLeft = static_cast<int>(std::clamp(std::floor(left), 0.0, 1e9));
        state_.clipTop = static_cast<int>(std::clamp(std::floor(top), 0.0, 1e9));
        state_.clipRight = static_cast<int>(std::clamp(std::ceil(right), 0.0, 1e9));
        state_.clipBottom = static_cast<int>(std::clamp(std::ceil(bottom), 0.0, 1e9));
        applyClip();
    }

    void resetClip() {
        state_.clipLeft = state_.clipTop = 0;
        state_.clipRight = canvas_.width();
        state_.clipBottom = canvas_.height();
        applyClip();
    }

    // Fills with the brush, then outlines with the pen, as GDI draws shapes.
    void drawShape(const Path& path, bool filled) {
        if (drawsNothing()) return;
        if (filled) {
            if (auto paint = brushPaint()) canvas_.fillPath(path, {}, state_.fillRule, *paint);
        }
        strokeShape(path);
    }

    void strokeShape(const Path& path) {
        if (drawsNothing() || (state_.pen.style & 0x0F) == kPenNull) return;
        canvas_.strokePath(path, {}, devicePen(), colourOf(state_.pen.colour));
    }

    std::vector<Point> readPoints(const Params& p, size_t word, size_t count) {
        std::vector<Point> points;
        count = std::min(count, (p.words() > word ? p.words() - word : 0) / 2);
        if (!spendPoints(count)) return points;
        points.reserve(count);
        for (size_t i = 0; i < count; ++i) points.push_back(pointAt(p, word + 2 * i));
        return points;
    }

    // The ellipse inscribed in the box, in device space: centre and radii.
    struct Ellipse {
        Point centre;
        double radiusX;
        double radiusY;
    };
    Ellipse ellipseIn(const Params& p, size_t boxWord) const {
        // Boxes are stored bottom, right, top, left.
        const Point a = toDevice(p.i16(boxWord + 3), p.i16(boxWord + 2));
        const Point b = toDevice(p.i16(boxWord + 1), p.i16(boxWord));
        return {
            {(a.x + b.x) / 2, (a.y + b.y) / 2}, std::abs(b.x - a.x) / 2, std::abs(b.y - a.y) / 2};
    }

    // Arc, chord and pie: counter-clockwise on screen from the start radial
    // to the end radial.
    void drawArcFamily(const Params& p, int closing) {
        const Ellipse e = ellipseIn(p, 4);
        const Point end = toDevice(p.i16(1), p.i16(0));
        const Point start = toDevice(p.i16(3), p.i16(2));
        auto angleOf = [&](Point radial) {
            return std::atan2(-(radial.y - e.centre.y) / std::max(e.radiusY, 1e-9),
                              (radial.x - e.centre.x) / std::max(e.radiusX, 1e-9));
        };
        const double from = angleOf(start);
        double sweep = angleOf(end) - from;
        while (sweep <= 1e-9) sweep += 2 * std::numbers::pi;
        Path path;
        // Screen y grows downwards: a negative y radius turns the arc the
        // way the screen counts counter-clockwise.
        path.addArc(e.centre, e.radiusX, -e.radiusY, 0, from, sweep, false);
        if (closing == 0) {
            strokeShape(path);
            return;
        }
        if (closing == 2) path.lineTo(e.centre);
        path.close();
        drawShape(path, true);
    }

    void drawRoundRect(const Params& p) {
        const Ellipse box = ellipseIn(p, 2);
        const double rx = std::min(std::abs(p.i16(1) * scaleX()) / 2, box.radiusX);
        const double ry = std::min(std::abs(p.i16(0) * scaleY()) / 2, box.radiusY);
        const double left = box.centre.x - box.radiusX;
        const double right = box.centre.x + box.radiusX;
        const double top = box.centre.y - box.radiusY;
        const double bottom = box.centre.y + box.radiusY;
        const double quarter = std::numbers::pi / 2;
        Path path;
        path.addArc({right - rx, top + ry}, rx, -ry, 0, 0, quarter, false);
        path.addArc({left + rx, top + ry}, rx, -ry, 0, quarter, quarter, true);
        path.addArc({left + rx, bottom - ry}, rx, -ry, 0, 2 * quarter, quarter, true);
        path.addArc({right - rx, bottom - ry}, rx, -ry, 0, 3 * quarter, quarter, true);
        path.close();
        drawShape(path, true);
    }

    void drawText(std::string_view bytes, Point logical, const std::vector<double>& advances,
                  const vector::Rect* opaqueBox, const vector::Rect* clipBox) {
        if (drawsNothing()) return;
        if (!canvas_.work().spend(cost::kGlyph * static_cast<int64_t>(bytes.size()))) return;
        const std::u32string text = vector::fromWindows1252(bytes);
        const FontState& font = state_.font;
        const double em = font.height == 0  ? kDefaultTextHeight
                          : font.height < 0 ? -font.height * std::abs(scaleY())
                                            : font.height * 0.85 * std::abs(scaleY());
        if (!(em > 0.5) || em > 1e5) return;
        const double capHeight = 0.7 * em;
        const double advance = font.width > 0 ? font.width * std::abs(scaleX()) : 0.5 * em;
        const double extra = state_.textCharExtra * std::abs(scaleX());
        std::vector<double> offsets;
        double total = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            offsets.push_back(total);
            total += i < advances.size() ? advances[i] * std::abs(scaleX()) : advance + extra;
        }
        const double angle = font.escapement / 10.0 * std::numbers::pi / 180;
        const Point along{std::cos(angle), -std::sin(angle)};
        const Point up{-std::sin(angle), -std::cos(angle)};

        const bool updateCp = (state_.textAlign & kTextAlignUpdateCp) != 0;
        Point reference = updateCp ? state_.position : toDevice(logical.x, logical.y);
        const int horizontal = state_.textAlign & kTextAlignCenter;
        double shiftX = 0;
        if (horizontal == kTextAlignCenter) shiftX = -total / 2;
        if (horizontal == kTextAlignRight) shiftX = -total;
        const int vertical = state_.textAlign & kTextAlignBaseline;
        double shiftY = 0;                      // along "up"
        if (vertical == 0) shiftY = -0.8 * em;  // TA_TOP: the baseline lies an ascent below
        if (vertical == kTextAlignBottom) shiftY = 0.2 * em;
        const Point origin = reference + along * shiftX + up * shiftY;
        if (updateCp) state_.position = reference + along * total;

        if (opaqueBox) fillDeviceRect(*opaqueBox, colourOf(state_.backgroundColour));
        if (state_.opaqueBackground && !opaqueBox && !text.empty()) {
            Path box;
            box.addPolygon({origin + up * (-0.2 * em), origin + up * (-0.2 * em) + along * total,
                            origin + up * (0.8 * em) + along * total, origin + up * (0.8 * em)});
            canvas_.fillPath(box, {}, FillRule::NonZero, colourOf(state_.backgroundColour));
        }
        if (clipBox) {
            canvas_.setClip(
                std::max(state_.clipLeft, static_cast<int>(clipBox->left)),
                std::max(state_.clipTop, static_cast<int>(clipBox->top)),
                std::min(state_.clipRight, static_cast<int>(std::ceil(clipBox->right))),
                std::min(state_.clipBottom, static_cast<int>(std::ceil(clipBox->bottom))));
        }
        Path glyphs;
        const double nominalWidth = advance / vector::kGlyphAdvance * 0.9;
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
            const Point at = origin + along * offsets[i];
            const vector::Transform place{along.x * glyphWidth,
                                          along.y * glyphWidth,
                                          up.x * capHeight + along.x * slant * capHeight,
                                          up.y * capHeight + along.y * slant * capHeight,
                                          at.x,
                                          at.y};
            vector::appendText(glyphs, std::u32string_view(&text[i], 1), place);
        }
        if (font.underline || font.strikeOut) {
            const double lift = font.underline ? -0.12 * em : 0.3 * em;
            glyphs.moveTo(origin + up * lift);
            glyphs.lineTo(origin + up * lift + along * total);
        }
        vector::Pen pen;
        pen.width = std::max(1.0, em * (font.weight >= 600 ? 0.1 : 0.065));
        canvas_.strokePath(glyphs, {}, pen, colourOf(state_.textColour));
        if (clipBox) applyClip();
    }

    void fillDeviceRect(const vector::Rect& rect, Paint paint) {
        Path path;
        path.addRectangle({rect.left, rect.top}, {rect.right, rect.bottom});
        canvas_.fillPath(path, {}, FillRule::NonZero, paint);
    }

    vector::Rect deviceRect(double left, double top, double right, double bottom) const {
        const Point a = toDevice(left, top);
        const Point b = toDevice(right, bottom);
        return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    }

    void textOut(const Params& p) {
        const size_t length = p.u16(0);
        const size_t stringWords = (length + 1) / 2;
        const auto text = p.from(1).first(std::min(length, p.from(1).size()));
        const double y = p.i16(1 + stringWords);
        const double x = p.i16(2 + stringWords);
        drawText(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), {x, y},
                 {}, nullptr, nullptr);
    }

    void extTextOut(const Params& p) {
        const double y = p.i16(0);
        const double x = p.i16(1);
        const size_t length = p.u16(2);
        const int options = p.u16(3);
        size_t word = 4;
        std::optional<vector::Rect> box;
        // The rectangle is present when the options ask for it (and some
        // writers include it regardless: then the record has room for it).
        const size_t textWords = (length + 1) / 2;
        const bool hasRect = (options & (kExtTextOpaque | kExtTextClipped)) != 0 ||
                             p.words() >= 8 + textWords + length;
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

    // --- bitmaps ---

    void blit(std::span<const uint8_t> dib, bool paletteIndices, uint32_t rop, double srcX,
              double srcY, double srcWidth, double srcHeight, const vector::Rect& destination) {
        auto image =
            decodePackedDib(dib, paletteIndices, state_.palette, bitmapRoom(), &canvas_.work());
        if (!image) return;
        Image& source = image.value();
        if (rop == kNotSrcCopy) {
            for (Pixel& pixel : source.pixels) pixel = (~pixel & 0x00FFFFFFu) | 0xFF000000u;
        }
        const vector::BlendOp op = rop == kSrcAnd      ? vector::BlendOp::And
                                   : rop == kSrcPaint  ? vector::BlendOp::Or
                                   : rop == kSrcInvert ? vector::BlendOp::Xor
                                                       : vector::BlendOp::Copy;
        // Source rows count from the bottom of a bottom-up bitmap.
        const double top = source.height - (srcY + srcHeight);
        canvas_.drawImage(source, {srcX, top, srcX + srcWidth, top + srcHeight}, destination, op);
    }

    // Destination boxes are given as x, y, width, height in logical units; a
    // negative size mirrors the bitmap.
    vector::Rect destinationBox(double x, double y, double width, double height) const {
        const Point a = toDevice(x, y);
        const Point b = toDevice(x + width, y + height);
        return {a.x, a.y, b.x, b.y};
    }

    void patBlt(uint32_t rop, const vector::Rect& box) {
        const vector::Rect sorted{std::min(box.left, box.right), std::min(box.top, box.bottom),
                                  std::max(box.left, box.right), std::max(box.top, box.bottom)};
        if (rop == kBlackness) {
            fillDeviceRect(sorted, rgb(0, 0, 0));
        } else if (rop == kWhiteness) {
            fillDeviceRect(sorted, rgb(255, 255, 255));
        } else if (rop == kPatCopy || rop == kSrcCopy) {
            if (auto paint = brushPaint()) fillDeviceRect(sorted, *paint);
        }
    }

    void stretchDib(const Params& p) {
        const uint32_t rop = p.u32(0);
        const bool indices = p.u16(2) == 1;
        const vector::Rect box = destinationBox(p.i16(10), p.i16(9), p.i16(8), p.i16(7));
        blit(p.from(11), indices, rop, p.i16(6), p.i16(5), p.i16(4), p.i16(3), box);
    }

    void dibStretchBlt(const Params& p) {
        const uint32_t rop = p.u32(0);
        if (p.words() <= 11) {  // no bitmap: a pattern fill
            patBlt(rop, destinationBox(p.i16(10), p.i16(9), p.i16(8), p.i16(7)));
            return;
        }
        const vector::Rect box = destinationBox(p.i16(9), p.i16(8), p.i16(7), p.i16(6));
        blit(p.from(10), false, rop, p.i16(5), p.i16(4), p.i16(3), p.i16(2), box);
    }

    void dibBitBlt(const Params& p) {
        const uint32_t rop = p.u32(0);
        if (p.words() <= 9) {
            patBlt(rop, destinationBox(p.i16(8), p.i16(7), p.i16(6), p.i16(5)));
            return;
        }
        // Unscaled: the source keeps its size in logical units.
        const double width = p.i16(5);
        const double height = p.i16(4);
        const vector::Rect box = destinationBox(p.i16(7), p.i16(6), width, height);
        blit(p.from(8), false, rop, p.i16(3), p.i16(2), width, height, box);
    }

    void setDibToDevice(const Params& p) {
        const bool indices = p.u16(0) == 1;
        const double width = p.i16(6);
        const double height = p.i16(5);
        const vector::Rect box = destinationBox(p.i16(8), p.i16(7), width, height);
        blit(p.from(9), indices, kSrcCopy, p.i16(4), p.i16(3), width, height, box);
    }

    // --- the records ---

    void handle(uint16_t function, const Params& p) {
        switch (function) {
            case kSaveDc:
                if (saved_.size() < kMaxSavedStates) saved_.push_back(state_);
                break;
            case kRestoreDc:
                restore(p.i16(0));
                break;
            case kSetBkMode:
                state_.opaqueBackground = p.u16(0) != kBkTransparent;
                break;
            case kSetRop2:
                state_.rop2 = p.u16(0);
                break;
            case kSetPolyFillMode:
                state_.fillRule = p.u16(0) == 2 ? FillRule::NonZero : FillRule::EvenOdd;
                break;
            case kSetTextCharExtra:
                state_.textCharExtra = p.i16(0);
                break;
            case kSetTextAlign:
                state_.textAlign = p.u16(0);
                break;
            case kSetBkColor:
                state_.backgroundColour = p.u32(0);
                break;
            case kSetTextColor:
                state_.textColour = p.u32(0);
                break;
            case kSetWindowOrg:
                state_.window.originX = p.i16(1);
                state_.window.originY = p.i16(0);
                break;
            case kSetWindowExt:
                if (p.i16(1) != 0 && p.i16(0) != 0) {
                    state_.window.extentX = p.i16(1);
                    state_.window.extentY = p.i16(0);
                }
                break;
            case kOffsetWindowOrg:
                state_.window.originX += p.i16(1);
                state_.window.originY += p.i16(0);
                break;
            case kScaleWindowExt:
                if (p.i16(0) != 0 && p.i16(2) != 0 && p.i16(1) != 0 && p.i16(3) != 0) {
                    state_.window.extentX = state_.window.extentX * p.i16(3) / p.i16(2);
                    state_.window.extentY = state_.window.extentY * p.i16(1) / p.i16(0);
                }
                break;
            case kSelectObject:
                selectObject(p.u16(0));
                break;
            case kDeleteObject:
                deleteObject(p.u16(0));
                break;
            case kCreatePenIndirect: {
                GdiObject pen = objectOf(GdiObject::Kind::Pen);
                pen.pen = readPen(p);
                addObject(std::move(pen));
                break;
            }
            case kCreateBrushIndirect: {
                GdiObject brush = objectOf(GdiObject::Kind::Brush);
                brush.brush.style = p.u16(0);
                brush.brush.colour = p.u32(1);
                brush.brush.hatch = p.u16(3);
                addObject(std::move(brush));
                break;
            }
            case kDibCreatePatternBrush: {
                GdiObject brush = objectOf(GdiObject::Kind::Brush);
                brush.brush.style = kBrushPattern;
                brush.brush.pattern = readPatternImage(p.from(2), p.u16(1) == 1);
                addObject(std::move(brush));
                break;
            }
            case kCreatePatternBrush: {
                // An old device-dependent bitmap: drawn as a mid-grey brush.
                GdiObject brush = objectOf(GdiObject::Kind::Brush);
                brush.brush.colour = 0x808080;
                addObject(std::move(brush));
                break;
            }
            case kCreateFontIndirect: {
                GdiObject font = objectOf(GdiObject::Kind::Font);
                font.font.height = p.i16(0);
                font.font.width = p.i16(1);
                font.font.escapement = p.i16(2);
                font.font.weight = p.i16(4);
                const uint16_t flags = p.u16(5);
                font.font.italic = (flags & 0xFF) != 0;
                font.font.underline = (flags >> 8) != 0;
                font.font.strikeOut = (p.u16(6) & 0xFF) != 0;
                addObject(std::move(font));
                break;
            }
            case kCreatePalette: {
                GdiObject palette = objectOf(GdiObject::Kind::Palette);
                const size_t count = p.u16(1);
                for (size_t i = 0; i < count && 2 + 2 * i + 1 < p.words(); ++i) {
                    const uint32_t entry = p.u32(2 + 2 * i);
                    palette.palette.push_back(rgb(static_cast<uint8_t>(entry),
                                                  static_cast<uint8_t>(entry >> 8),
                                                  static_cast<uint8_t>(entry >> 16)));
                }
                addObject(std::move(palette));
                break;
            }
            case kSelectPalette:
                selectObject(p.u16(0));
                break;
            case kCreateRegion: {
                GdiObject region = objectOf(GdiObject::Kind::Region);
                if (!spendPoints(p.words())) break;
                region.region = readRegion(p);
                addObject(std::move(region));
                break;
            }
            case kSelectClipRegion:
                if (const GdiObject* region = object(p.u16(0));
                    region && region->kind == GdiObject::Kind::Region) {
                    clipToRegion(region->region);
                } else {
                    resetClip();
                }
                break;
            case kFillRegion:
                fillRegion(p.u16(0), p.u16(1));
                break;
            case kIntersectClipRect:
                intersectClip(p);
                break;
            case kMoveTo:
                state_.position = toDevice(p.i16(1), p.i16(0));
                break;
            case kLineTo: {
                const Point to = toDevice(p.i16(1), p.i16(0));
                Path path;
                path.moveTo(state_.position);
                path.lineTo(to);
                strokeShape(path);
                state_.position = to;
                break;
            }
            case kPolyline:
            case kPolygon: {
                const auto points = readPoints(p, 1, p.u16(0));
                if (points.empty()) break;
                Path path;
                path.moveTo(points.front());
                for (size_t i = 1; i < points.size(); ++i) path.lineTo(points[i]);
                if (function == kPolygon) {
                    path.close();
                    drawShape(path, true);
                } else {
                    strokeShape(path);
                }
                break;
            }
            case kPolyPolygon:
                polyPolygon(p);
                break;
            case kRectangle: {
                Path path;
                path.addRectangle(toDevice(p.i16(3), p.i16(2)), toDevice(p.i16(1), p.i16(0)));
                drawShape(path, true);
                break;
            }
            case kEllipse: {
                const Ellipse e = ellipseIn(p, 0);
                Path path;
                path.addEllipse(e.centre, e.radiusX, e.radiusY);
                drawShape(path, true);
                break;
            }
            case kRoundRect:
                drawRoundRect(p);
                break;
            case kArc:
                drawArcFamily(p, 0);
                break;
            case kChord:
                drawArcFamily(p, 1);
                break;
            case kPie:
                drawArcFamily(p, 2);
                break;
            case kSetPixel: {
                const Point at = toDevice(p.i16(3), p.i16(2));
                fillDeviceRect({std::floor(at.x), std::floor(at.y), std::floor(at.x) + 1,
                                std::floor(at.y) + 1},
                               colourOf(p.u32(0)));
                break;
            }
            case kTextOut:
                textOut(p);
                break;
            case kExtTextOut:
                extTextOut(p);
                break;
            case kPatBlt:
                patBlt(p.u32(0), destinationBox(p.i16(5), p.i16(4), p.i16(3), p.i16(2)));
                break;
            case kStretchDib:
                stretchDib(p);
                break;
            case kDibStretchBlt:
                dibStretchBlt(p);
                break;
            case kDibBitBlt:
                dibBitBlt(p);
                break;
            case kSetDibToDev:
                setDibToDevice(p);
                break;
            default:
                break;  // records that change nothing we draw
        }
    }

    void restore(int which) {
        if (saved_.empty()) return;
        // Negative: relative to the newest saved state; positive: absolute.
        size_t keep = 0;
        if (which < 0) {
            const size_t back = static_cast<size_t>(-which);
            if (back > saved_.size()) return;
            keep = saved_.size() - back;
        } else {
            if (which == 0 || static_cast<size_t>(which) > saved_.size()) return;
            keep = static_cast<size_t>(which) - 1;
        }
        state_ = saved_[keep];
        saved_.resize(keep);
        applyClip();
    }

    void polyPolygon(const Params& p) {
        const size_t polygons = p.u16(0);
        size_t word = 1 + polygons;
        Path path;
        for (size_t i = 0; i < polygons && word < p.words(); ++i) {
            const size_t count = p.u16(1 + i);
            const auto points = readPoints(p, word, count);
            path.addPolygon(points);
            word += 2 * count;
        }
        drawShape(path, true);
    }

    void fillRegion(size_t regionIndex, size_t brushIndex) {
        const GdiObject* region = object(regionIndex);
        const GdiObject* brush = object(brushIndex);
        if (!region || region->kind != GdiObject::Kind::Region || !brush ||
            brush->kind != GdiObject::Kind::Brush) {
            return;
        }
        const BrushState saved = state_.brush;
        state_.brush = brush->brush;
        if (auto paint = brushPaint()) {
            for (const auto& rect : region->region.rects) {
                fillDeviceRect(deviceRect(rect.left, rect.top, rect.right, rect.bottom), *paint);
            }
        }
        state_.brush = saved;
    }

    Canvas& canvas_;
    DcState state_;
    std::vector<DcState> saved_;
    std::vector<GdiObject> objects_;  // up to the highest index in use
    LowestFreeSlots freeSlots_;
};

// Grows a box around the points a record draws at, for metafiles that never
// say where their picture lies.
class BoundsFinder {
  public:
    void add(double x, double y) {
        left_ = std::min(left_, x);
        top_ = std::min(top_, y);
        right_ = std::max(right_, x);
        bottom_ = std::max(bottom_, y);
    }
    void addRecord(uint16_t function, const Params& p) {
        switch (function) {
            case kMoveTo:
            case kLineTo:
                add(p.i16(1), p.i16(0));
                break;
            case kPolyline:
            case kPolygon:
                for (size_t i = 0; i < p.u16(0) && 2 + 2 * i < p.words(); ++i) {
                    add(p.i16(1 + 2 * i), p.i16(2 + 2 * i));
                }
                break;
            case kPolyPolygon: {
                const size_t polygons = p.u16(0);
                for (size_t w = 1 + polygons; w + 1 < p.words(); w += 2)
                    add(p.i16(w), p.i16(w + 1));
                break;
            }
            case kRectangle:
            case kEllipse:
            case kIntersectClipRect:
                add(p.i16(3), p.i16(2));
                add(p.i16(1), p.i16(0));
                break;
            case kRoundRect:
                add(p.i16(5), p.i16(4));
                add(p.i16(3), p.i16(2));
                break;
            case kArc:
            case kPie:
            case kChord:
                add(p.i16(7), p.i16(6));
                add(p.i16(5), p.i16(4));
                break;
            case kCreateFontIndirect:
                textHeight_ = std::abs(static_cast<double>(p.i16(0)));
                break;
            case kTextOut: {
                const size_t length = p.u16(0);
                const size_t words = (length + 1) / 2;
                addText(p.i16(2 + words), p.i16(1 + words), length);
                break;
            }
            case kExtTextOut:
                addText(p.i16(1), p.i16(0), p.u16(2));
                break;
            default:
                break;
        }
    }
    // Text reaches right of and below its anchor by about its length and height.
    void addText(double x, double y, size_t length) {
        const double height = textHeight_ > 0 ? textHeight_ : 12;
        add(x, y);
        add(x + static_cast<double>(length) * height * 0.6, y + height);
    }
    std::optional<Frame> frame() const {
        if (left_ > right_ || top_ > bottom_) return std::nullopt;
        // Text and pens reach past their anchor points; leave them a margin.
        const double margin = std::max({right_ - left_, bottom_ - top_, 1.0}) * 0.05;
        return Frame{left_ - margin, top_ - margin, right_ - left_ + 2 * margin,
                     bottom_ - top_ + 2 * margin};
    }

  private:
    double left_ = 1e300;
    double top_ = 1e300;
    double right_ = -1e300;
    double bottom_ = -1e300;
    double textHeight_ = 0;
};

}  // namespace

Result<void> playRecords(std::span<const uint8_t> records, const Frame& window,
                         vector::Canvas& canvas) {
    return Player(canvas, window).play(records);

}

std::optional<Frame> findFrame(std::span<const uint8_t> records, WorkMeter& work) {
    std::optional<Point> origin;
    std::optional<Point> extent;
    BoundsFinder bounds;
    size_t at = 0;
    while (at + 6 <= records.size()) {
        const Params head(records.subspan(at, 6));
        const uint32_t size = head.u32(0);
        const uint16_t function = head.u16(2);
        if (function == kEof || size < 3 || uint64_t{size} * 2 > records.size() - at) break;
        const Params p(records.subspan(at + 6, size_t{size} * 2 - 6));
        if (!work.spend(cost::kRecord)) return std::nullopt;
        if (function == kSetWindowOrg && !origin)
            origin = Point{double(p.i16(1)), double(p.i16(0))};
        if (function == kSetWindowExt && !extent && p.i16(0) != 0 && p.i16(1) != 0) {
            extent = Point{double(p.i16(1)), double(p.i16(0))};
        }
        bounds.addRecord(function, p);
        at += size_t{size} * 2;
    }
    if (extent) {
        const Point start = origin.value_or(Point{});
        return Frame{start.x, start.y, extent->x, extent->y};
    }
    return bounds.frame();
}

}  // namespace pictavo::imaging::wmf
