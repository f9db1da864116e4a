#include "imaging/decoders/wpg1.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "imaging/byte_reader.h"
#include "imaging/decoders/wpg_common.h"
#include "imaging/errors.h"
#include "imaging/vector/path_painter.h"
#include "imaging/vector/picture_size.h"
#include "imaging/vector/stroke_font.h"
#include "imaging/work_costs.h"

namespace pictavo::imaging::wpg {

namespace {

using vector::FillRule;
using vector::Path;
using vector::PathPainter;
using vector::Point;
using vector::Transform;

constexpr double kDegree = std::numbers::pi / 180;
// WPG 1 measures in 1200ths of an inch.
constexpr double kWpg1Units = 1200;

class Wpg1Player {
  public:
    Wpg1Player(std::span<const uint8_t> records, WorkMeter& work, const Target& target)
        : records_(records), work_(work), target_(target) {}

    Result<Image> play() {
        palette_ = defaultPalette();
        ByteReader in(records_);
        while (!in.atEnd()) {
            if (work_.stopped()) return work_.stopError();
            const uint8_t type = in.u8();
            const uint32_t length = readLength(in);
            if (in.failed()) break;
            const auto body = in.take(std::min<size_t>(length, in.remaining()));
            if (type == 0x10) break;  // end of WPG data
            if (!work_.spend(cost::kRecord)) return work_.stopError();
            if (auto handled = handle(type, body); !handled) return handled.error();
            if (work_.stopped()) return work_.stopError();
        }
        if (!image_) return invalidFile("WPG", "no start record");
        return vector::drawnPicture(std::move(*image_), view_);
    }

  private:
    Point toDevice(double x, double y) const { return {x * scale_, (height_ - y) * scale_}; }

    Result<void> start(ByteReader& in) {
        if (image_) return {};  // one picture per file: later starts are noise
        in.u8();                // version
        in.u8();                // flags
        const double width = in.u16();
        height_ = in.u16();
        if (in.failed()) return fileTruncated();
        auto size = vector::sizeFromInches(width / kWpg1Units, height_ / kWpg1Units, target_);
        if (!size) return size.error();
        scale_ = size->width / width;
        auto view = vector::planCanvas(*size, target_);
        if (!view) return view.error();
        view_ = *view;
        auto picture = vector::blankCanvas(view_, rgb(255, 255, 255));
        if (!picture) return picture.error();
        image_ = std::move(picture.value());
        canvas_.emplace(*image_, work_, view_);
        return {};
    }

    std::vector<Point> readPoints(ByteReader& in, size_t count) {
        std::vector<Point> points;
        count = std::min(count, in.remaining() / 4);
        if (!work_.spend(cost::kPoint * static_cast<int64_t>(count))) return points;
        for (size_t i = 0; i < count; ++i) {
            const double x = in.i16();
            const double y = in.i16();
            points.push_back(toDevice(x, y));
        }
        return points;
    }

    void draw(const Path& path, bool closed) {
        if (!canvas_) return;
        if (closed && fillStyle_ != 0)
            canvas_->fillPath(path, {}, FillRule::EvenOdd, palette_[fillColour_]);
        if (lineStyle_ != 0) {
            vector::Pen pen;
            pen.width = lineWidth_ * scale_;
            canvas_->strokePath(path, {}, pen, palette_[lineColour_]);
        }
    }

    void ellipse(ByteReader& in) {
        const double cx = in.i16();
        const double cy = in.i16();
        const double rx = in.u16();
        const double ry = in.u16();
        const double rotation = in.u16();
        const double from = in.u16();
        const double to = in.u16();
        const uint16_t flags = in.u16();
        const Point centre = toDevice(cx, cy);
        Path path;
        // Angles count counter-clockwise with y up: a negative y radius turns
        // them the screen's way.
        const bool whole = from == to || (from == 0 && to >= 360);
        if (whole) {
            path.addArc(centre, rx * scale_, -ry * scale_, -rotation * kDegree, 0,
                        2 * std::numbers::pi, false);
            path.close();
            draw(path, true);
            return;
        }
        double sweep = to - from;
        if (sweep <= 0) sweep += 360;
        path.addArc(centre, rx * scale_, -ry * scale_, -rotation * kDegree, from * kDegree,
                    sweep * kDegree, false);
        // Flags: closed as a pie (1) or a chord (2); an open arc otherwise.
        if (flags & 1) path.lineTo(centre);
        if (flags & 3) {
            path.close();
            draw(path, true);
        } else {
            draw(path, false);
        }
    }

    void curve(ByteReader& in) {
        in.u32();  // reserved
        const auto points = readPoints(in, in.u16());
        if (points.empty()) return;
        Path path;
        path.moveTo(points[0]);
        // The first point, then two control points and an end point per curve.
        for (size_t i = 1; i + 2 < points.size(); i += 3) {
            path.cubicTo(points[i], points[i + 1], points[i + 2]);
        }
        draw(path, false);
    }

    void text(ByteReader& in) {
        const size_t length = in.u16();
        const double x = in.i16();
        const double y = in.i16();
        const auto bytes = in.take(std::min(length, in.remaining()));
        if (!canvas_ || bytes.empty()) return;
        if (!work_.spend(cost::kGlyph * static_cast<int64_t>(bytes.size()))) return;
        const std::u32string text =
            vector::fromWindows1252({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
        const double height = textHeight_ * scale_;
        const Point at = toDevice(x, y);
        Path path;
        vector::appendText(path, text, Transform{height * 0.6, 0, 0, -height * 0.7, at.x, at.y});
        vector::Pen pen;
        pen.width = std::max(1.0, height * 0.06);
        canvas_->strokePath(path, {}, pen, palette_[textColour_]);
    }

    Result<void> bitmap(ByteReader& in, bool placed) {
        double x1 = 0, y1 = 0, x2 = 0, y2 = height_;
        if (placed) {
            in.u16();  // rotation
            x1 = in.i16();
            y1 = in.i16();
            x2 = in.i16();
            y2 = in.i16();
        }
        const int width = in.u16();
        const int height = in.u16();
        const int depth = in.u16();
        in.u16();  // horizontal resolution
        in.u16();  // vertical resolution
        if (in.failed() || !canvas_) return {};
        if (!placed) x2 = image_->width / scale_;
        if (auto fits = vector::checkBitmap(*image_, width, height, work_); !fits)
            return fits.error();
        if (depth != 1 && depth != 2 && depth != 4 && depth != 8)
            return {};  // not a bitmap we know
        const size_t rowBytes = (static_cast<size_t>(width) * static_cast<size_t>(depth) + 7) / 8;
        const auto rows =
            expandRuns(in.take(in.remaining()), rowBytes, static_cast<size_t>(height));
        auto picture = indexedBitmap(rows, width, height, depth, palette_);
        if (!picture) return {};  // an odd bitmap leaves the rest of the drawing
        const Point a = toDevice(std::min(x1, x2), std::max(y1, y2));
        const Point b = toDevice(std::max(x1, x2), std::min(y1, y2));
        canvas_->drawImage(*picture,
                           {0, 0, static_cast<double>(width), static_cast<double>(height)},
                           {a.x, a.y, b.x, b.y});
        return {};
    }

    Result<void> handle(uint8_t type, std::span<const uint8_t> body) {
        ByteReader in(body);
        switch (type) {
            case 0x0F:
                return start(in);
            case 0x0E: {
                const size_t first = in.u16();
                const size_t count = in.u16();
                for (size_t i = 0; i < count && first + i < 256; ++i) {
                    const uint8_t r = in.u8();
                    const uint8_t g = in.u8();
                    const uint8_t b = in.u8();
                    if (in.failed()) break;
                    palette_[first + i] = rgb(r, g, b);
                }
                return {};
            }
            case 0x01:
                fillStyle_ = in.u8();
                fillColour_ = in.u8();
                return {};
            case 0x02:
                lineStyle_ = in.u8();
                lineColour_ = in.u8();
                lineWidth_ = in.u16();
                return {};
            case 0x0D:
                in.u16();  // character width
                textHeight_ = std::max<double>(1, in.u16());
                in.skip(10);
                in.u16();  // font
                in.u8();
                in.u16();  // justification
                textColour_ = in.failed() ? uint8_t{0} : in.u8();
                return {};
            case 0x05:
            case 0x06:
            case 0x08: {
                const size_t count = type == 0x05 ? 2 : in.u16();
                const auto points = readPoints(in, count);
                if (points.empty()) return {};
                Path path;
                path.moveTo(points[0]);
                for (size_t i = 1; i < points.size(); ++i) path.lineTo(points[i]);
                if (type == 0x08) path.close();
                draw(path, type == 0x08);
                return {};
            }
            case 0x07: {
                const double x = in.i16();
                const double y = in.i16();
                const double w = in.i16();
                const double h = in.i16();
                Path path;
                path.addRectangle(toDevice(x, y), toDevice(x + w, y + h));
                draw(path, true);
                return {};
            }
            case 0x09:
                ellipse(in);
                return {};
            case 0x13:
                curve(in);
                return {};
            case 0x0C:
                text(in);
                return {};
            case 0x0B:
                return bitmap(in, false);
            case 0x14:
                return bitmap(in, true);
            default:
                return {};  // records that draw nothing we show
        }
    }

    std::span<const uint8_t> records_;
    WorkMeter& work_;
    Target target_;
    vector::View view_;
    std::optional<Image> image_;
    std::optional<PathPainter> canvas_;
    std::array<Pixel, 256> palette_{};
    double height_ = 0;
    double scale_ = 1;
    uint8_t fillStyle_ = 1;
    uint8_t fillColour_ = 0;
    uint8_t lineStyle_ = 1;
    uint8_t lineColour_ = 0;
    double lineWidth_ = 0;
    double textHeight_ = 120;
    uint8_t textColour_ = 0;
};

}  // namespace

Result<Image> playWpg1(std::span<const uint8_t> records, WorkMeter& work, const Target& target) {
    return Wpg1Player(records, work, target).play();
}

}  // namespace pictavo::imaging::wpg
