#include "imaging/decoders/wpg2.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "imaging/byte_reader.h"
#include "imaging/decoders/wpg_common.h"
#include "imaging/errors.h"
#include "imaging/vector/path_painter.h"
#include "imaging/vector/picture_size.h"
#include "imaging/work_costs.h"

namespace pictavo::imaging::wpg {

namespace {

using vector::FillRule;
using vector::Path;
using vector::PathPainter;
using vector::Point;
using vector::Transform;

// How an object is drawn and where: its flags and transformation.
struct Characterization {
    bool filled = false;
    bool closed = false;
    bool framed = true;
    bool nonZero = false;
    // x' = a x + c y + e, y' = b x + d y + f, in picture units.
    Transform matrix;
};

class Wpg2Player {
  public:
    Wpg2Player(std::span<const uint8_t> records, WorkMeter& work, const Target& target)
        : records_(records), work_(work), target_(target) {}

    Result<Image> play() {
        palette_ = defaultPalette();
        ByteReader in(records_);
        while (!in.atEnd()) {
            if (work_.stopped()) return work_.stopError();
            in.u8();  // record class
            const uint8_t type = in.u8();
            const uint32_t extension = readLength(in);
            const uint32_t length = readLength(in);
            if (in.failed() || type == 0 || type > 0x3F) break;
            const auto body = in.take(std::min<size_t>(length, in.remaining()));
            if (type == 0x02) break;  // end of WPG
            if (!work_.spend(cost::kRecord)) return work_.stopError();
            if (auto handled = handle(type, body); !handled) return handled.error();
            if (work_.stopped()) return work_.stopError();
            afterRecord(type, extension);
        }
        if (compound_) finishCompound();
        if (!image_) return invalidFile("WPG", "no start record");
        return vector::drawnPicture(std::move(*image_), view_);
    }

  private:
    int32_t coordinate(ByteReader& in) const { return doublePrecision_ ? in.i32() : in.i16(); }

    // Picture units (y up) to device pixels.
    Point toDevice(Point p) const {
        return {(p.x - originX_) * scaleX_, (height_ - (p.y - originY_)) * scaleY_};
    }
    Point place(const Characterization& object, double x, double y) const {
        return toDevice(object.matrix.apply({x, y}));
    }

    Result<void> start(ByteReader& in) {
        if (image_) return {};
        double xUnits = in.u16();
        double yUnits = in.u16();
        const uint8_t precision = in.u8();
        if (precision > 1) return invalidFile("WPG", "bad precision");
        doublePrecision_ = precision == 1;
        if (xUnits == 0 || yUnits == 0) xUnits = yUnits = 1200;
        for (int i = 0; i < 4; ++i) coordinate(in);  // viewport
        const double x1 = coordinate(in);
        const double y1 = coordinate(in);
        const double x2 = coordinate(in);
        const double y2 = coordinate(in);
        if (in.failed()) return fileTruncated();
        originX_ = std::min(x1, x2);
        originY_ = std::min(y1, y2);
        const double width = std::abs(x2 - x1);
        height_ = std::abs(y2 - y1);
        auto size = vector::sizeFromInches(width / xUnits, height_ / yUnits, target_);
        if (!size) return size.error();
        scaleX_ = size->width / std::max(width, 1.0);
        scaleY_ = size->height / std::max(height_, 1.0);
        auto view = vector::planCanvas(*size, target_);
        if (!view) return view.error();
        view_ = *view;
        auto picture = vector::blankCanvas(view_, rgb(255, 255, 255));
        if (!picture) return picture.error();
        image_ = std::move(picture.value());
        canvas_.emplace(*image_, work_, view_);
        return {};
    }

    Characterization characterize(ByteReader& in) const {
        Characterization object;
        const uint16_t flags = in.u16();
        object.nonZero = (flags & (1 << 12)) != 0;
        object.filled = (flags & (1 << 13)) != 0;
        object.closed = (flags & (1 << 14)) != 0;
        object.framed = (flags & (1 << 15)) != 0;
        if (flags & 0x80) in.u32();  // edit lock
        if (flags & 0x20) {
            const uint16_t id = in.u16();
            if (id & 0x8000) in.u16();
        }
        if (flags & 0x10) in.u32();  // rotation angle, also given by the matrix
        Transform& m = object.matrix;
        if (flags & (0x10 | 0x08)) {
            m.a = in.i32() / 65536.0;
            m.d = in.i32() / 65536.0;
        }
        if (flags & (0x10 | 0x04)) {
            m.c = in.i32() / 65536.0;
            m.b = in.i32() / 65536.0;
        }
        if (flags & 0x02) {
            in.u16();
            m.e = in.i32();
            in.u16();
            m.f = in.i32();
        }
        if (flags & 0x01) {
            in.i32();  // taper: perspective we do not draw
            in.i32();
        }
        return object;
    }

    Pixel readColour(ByteReader& in) const {
        const uint8_t r = in.u8();
        const uint8_t g = in.u8();
        const uint8_t b = in.u8();
        in.u8();  // transparency
        return rgb(r, g, b);
    }

    Pixel readWideColour(ByteReader& in) const {
        const auto r = static_cast<uint8_t>(in.u16() >> 8);
        const auto g = static_cast<uint8_t>(in.u16() >> 8);
        const auto b = static_cast<uint8_t>(in.u16() >> 8);
        in.u16();
        return rgb(r, g, b);
    }

    void draw(const Path& path, const Characterization& object) {
        if (compound_) {
            // Parts of a compound polygon make one outline, drawn at its end.
            compoundPath_ = true;
            appendPath(path);
            return;
        }
        if (!canvas_) return;
        if (object.filled) {
            canvas_->fillPath(path, {}, object.nonZero ? FillRule::NonZero : FillRule::EvenOdd,
                              brush_);
        }
        if (object.framed) {
            vector::Pen pen;
            pen.width = penWidth_ * scaleX_;
            canvas_->strokePath(path, {}, pen, pen_);
        }
    }

    void appendPath(const Path& path) {
        for (const auto& contour : path.flatten({}, 0.05)) {
            if (contour.points.empty()) continue;
            compoundOutline_.moveTo(contour.points.front());
            for (size_t i = 1; i < contour.points.size(); ++i)
                compoundOutline_.lineTo(contour.points[i]);
        }
    }

    void finishCompound() {
        const Characterization object = *compound_;
        compound_.reset();
        if (compoundPath_) {
            if (object.closed) compoundOutline_.close();
            draw(compoundOutline_, object);
        }
        compoundOutline_ = Path{};
        compoundPath_ = false;
    }

    // A record with an extension owns that many records after it.
    void afterRecord(uint8_t type, uint32_t extension) {
        if (compound_ && type != 0x1A && compoundRecordsLeft_ > 0 && --compoundRecordsLeft_ == 0) {
            finishCompound();
        }
        if (type == 0x1A && extension > 0 && pendingCompound_) {
            compound_ = *pendingCompound_;
            compoundRecordsLeft_ = extension;
        }
        pendingCompound_.reset();
    }

    void polyline(ByteReader& in, bool curved) {
        const Characterization object = characterize(in);
        const size_t count = in.u16();
        const size_t each = curved ? 3 : 1;
        std::vector<Point> points;
        const size_t size = doublePrecision_ ? 8 : 4;
        if (!work_.spend(cost::kPoint *
                         static_cast<int64_t>(std::min(count * each, in.remaining() / size))))
            return;
        for (size_t i = 0; i < count * each && in.remaining() >= size; ++i) {
            const double x = coordinate(in);
            const double y = coordinate(in);
            points.push_back(place(object, x, y));
        }
        if (points.size() < each) return;
        Path path;
        if (curved) {
            // Each node: the control point before it, the node, the one after.
            path.moveTo(points[1]);
            for (size_t node = 1; 3 * node + 1 < points.size(); ++node) {
                path.cubicTo(points[3 * node - 1], points[3 * node], points[3 * node + 1]);
            }
        } else {
            path.moveTo(points[0]);
            for (size_t i = 1; i < points.size(); ++i) path.lineTo(points[i]);
        }
        if (object.closed || (object.filled && !curved)) path.close();
        draw(path, object);
    }

    void rectangle(ByteReader& in) {
        const Characterization object = characterize(in);
        const double x1 = coordinate(in);
        const double y1 = coordinate(in);
        const double x2 = coordinate(in);
        const double y2 = coordinate(in);
        Path path;
        path.addPolygon({place(object, x1, y1), place(object, x2, y1), place(object, x2, y2),
                         place(object, x1, y2)});
        draw(path, object);
    }

    void arc(ByteReader& in) {
        const Characterization object = characterize(in);
        const double cx = coordinate(in);
        const double cy = coordinate(in);
        const double rx = coordinate(in);
        const double ry = coordinate(in);
        const double ix = coordinate(in);
        const double iy = coordinate(in);
        const double ex = coordinate(in);
        const double ey = coordinate(in);
        // Drawn in picture units, then placed: the matrix may rotate it.
        Path local;
        if (ix == ex && iy == ey) {
            local.addEllipse({cx, cy}, rx, ry);
        } else {
            const double from =
                std::atan2(iy / std::max(std::abs(ry), 1e-9), ix / std::max(std::abs(rx), 1e-9));
            double sweep =
                std::atan2(ey / std::max(std::abs(ry), 1e-9), ex / std::max(std::abs(rx), 1e-9)) -
                from;
            if (sweep <= 0) sweep += 2 * std::numbers::pi;
            local.addArc({cx, cy}, rx, ry, 0, from, sweep, false);
            if (object.closed) local.close();
        }
        Transform toPicture = Transform::scaling(scaleX_, -scaleY_);
        toPicture.e = -originX_ * scaleX_;
        toPicture.f = (height_ + originY_) * scaleY_;
        Path path;
        for (const auto& contour : local.flatten(toPicture.after(object.matrix), 0.05)) {
            path.moveTo(contour.points.front());
            for (size_t i = 1; i < contour.points.size(); ++i) path.lineTo(contour.points[i]);
            if (contour.closed) path.close();
        }
        draw(path, object);
    }

    void bitmapPlacement(ByteReader& in) {
        const Characterization object = characterize(in);
        const double x1 = coordinate(in);
        const double y1 = coordinate(in);
        const double x2 = coordinate(in);
        const double y2 = coordinate(in);
        const Point a = place(object, std::min(x1, x2), std::max(y1, y2));
        const Point b = place(object, std::max(x1, x2), std::min(y1, y2));
        bitmapBox_ = vector::Rect{a.x, a.y, b.x, b.y};
    }

    Result<void> bitmapData(ByteReader& in) {
        const int width = in.u16();
        const int height = in.u16();
        const uint8_t format = in.u8();
        const uint8_t compression = in.u8();
        if (in.failed() || !canvas_ || !bitmapBox_) return {};
        if (auto fits = vector::checkBitmap(*image_, width, height, work_); !fits)
            return fits.error();
        int bits = 0;
        switch (format) {
            case 1:
                bits = 1;
                break;
            case 2:
                bits = 2;
                break;
            case 3:
                bits = 4;
                break;
            case 4:
                bits = 8;
                break;
            case 8:
                bits = 24;
                break;
            default:
                return {};  // colour formats we do not draw
        }
        const size_t rowBytes = (static_cast<size_t>(width) * static_cast<size_t>(bits) + 7) / 8;
        const auto data = in.take(in.remaining());
        std::vector<uint8_t> rows = compression == 1
                                        ? expandRuns(data, rowBytes, static_cast<size_t>(height))
                                        : std::vector<uint8_t>(data.begin(), data.end());
        rows.resize(rowBytes * static_cast<size_t>(height), 0);
        Image picture;
        if (bits == 24) {
            auto blank = vector::blankPicture({width, height}, rgb(0, 0, 0));
            if (!blank) return blank.error();
            picture = std::move(blank.value());
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    const size_t at =
                        static_cast<size_t>(y) * rowBytes + static_cast<size_t>(x) * 3;
                    picture.at(x, y) = rgb(rows[at], rows[at + 1], rows[at + 2]);
                }
            }
        } else {
            auto indexed = indexedBitmap(rows, width, height, bits, palette_);
            if (!indexed) return {};
            picture = std::move(indexed.value());
        }
        canvas_->drawImage(picture, {0, 0, static_cast<double>(width), static_cast<double>(height)},
                           *bitmapBox_);
        return {};
    }

    Result<void> handle(uint8_t type, std::span<const uint8_t> body) {
        ByteReader in(body);
        if (type == 0x01) return start(in);
        if (!image_) return {};
        switch (type) {
            case 0x0C:
            case 0x0D: {
                const size_t first = in.u16();
                const size_t count = in.u16();
                for (size_t i = 0; i < count && first + i < 256 && !in.failed(); ++i) {
                    palette_[first + i] = type == 0x0C ? readColour(in) : readWideColour(in);
                }
                return {};
            }
            case 0x25:
                pen_ = readColour(in);
                return {};
            case 0x26:
                pen_ = doublePrecision_ ? readWideColour(in) : readColour(in);
                return {};
            case 0x2B:
                penWidth_ = in.u16();
                return {};
            case 0x2C:
                penWidth_ = in.u32() / 256.0;
                return {};
            case 0x31:
            case 0x32: {
                const uint8_t gradient = in.u8();
                if (gradient != 0) in.u16();  // a gradient: its first colour stands for it
                brush_ = type == 0x32 && doublePrecision_ ? readWideColour(in) : readColour(in);
                return {};
            }
            case 0x15:
            case 0x16:
                polyline(in, false);
                return {};
            case 0x17:
                polyline(in, true);
                return {};
            case 0x18:
                rectangle(in);
                return {};
            case 0x19:
                arc(in);
                return {};
            case 0x1A:
                pendingCompound_ = characterize(in);
                return {};
            case 0x1B:
                bitmapPlacement(in);
                return {};
            case 0x0E:
                return bitmapData(in);
            default:
                return {};
        }
    }

    std::span<const uint8_t> records_;
    WorkMeter& work_;
    Target target_;
    vector::View view_;
    std::optional<Image> image_;
    std::optional<PathPainter> canvas_;
    std::array<Pixel, 256> palette_{};
    bool doublePrecision_ = false;
    double originX_ = 0;
    double originY_ = 0;
    double height_ = 0;
    double scaleX_ = 1;
    double scaleY_ = 1;
    Pixel pen_ = rgb(0, 0, 0);
    Pixel brush_ = rgb(0, 0, 0);
    double penWidth_ = 0;
    std::optional<vector::Rect> bitmapBox_;
    std::optional<Characterization> pendingCompound_;
    std::optional<Characterization> compound_;
    uint32_t compoundRecordsLeft_ = 0;
    Path compoundOutline_;
    bool compoundPath_ = false;
};

}  // namespace

Result<Image> playWpg2(std::span<const uint8_t> records, WorkMeter& work, const Target& target) {
    return Wpg2Player(records, work, target).play();
}

}  // namespace pictavo::imaging::wpg
