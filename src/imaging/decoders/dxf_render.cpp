#include "imaging/decoders/dxf_render.h"

#include <cmath>
#include <numbers>

#include "imaging/decoders/dxf_colours.h"
#include "imaging/vector/curves.h"
#include "imaging/vector/stroke_font.h"
#include "imaging/work_costs.h"

namespace pictavo::imaging::dxf {

namespace {

using vector::Path;
using vector::Transform;

constexpr double kDegree = std::numbers::pi / 180;
// Stroke font lines are this fraction of the text height wide.
constexpr double kTextWeight = 0.08;
// Long texts are laid out and drawn this many characters at a time, so a
// text of millions of characters never becomes one enormous outline.
constexpr size_t kGlyphsPerStroke = 256;

Error tooComplex() {
    return makeError("drawing too complex to render");
}

double normalisedSweep(double sweep) {
    if (!std::isfinite(sweep)) return 2 * std::numbers::pi;
    sweep = std::fmod(sweep, 2 * std::numbers::pi);
    if (sweep <= 1e-12) sweep += 2 * std::numbers::pi;
    return sweep;
}

class Walker {
  public:
    Walker(const Drawing& drawing, Pixel background, Visitor& visitor, WorkMeter& work)
        : drawing_(drawing), background_(background), visitor_(visitor), work_(work) {}

    Result<void> walkModel() {
        const int foreground = 7;
        for (uint32_t i = 0; i < drawing_.modelCount; ++i) {
            if (work_.stopped()) return work_.stopError();
            const Entity& entity = drawing_.entities[drawing_.modelFirst + i];
            if (auto walked = visit(entity, Transform{}, colourOfIndex(foreground), kNone, 0);
                !walked) {
                return walked;
            }
        }
        return {};
    }

  private:
    Pixel colourOfIndex(int index) const { return indexColour(index, background_); }

    static Pixel fromTrueColour(uint32_t value) { return 0xFF000000u | (value & 0xFFFFFF); }

    Pixel resolveColour(const Entity& entity, const Layer& layer, Pixel byBlock) const {
        if (entity.trueColour != kNoTrueColour) return fromTrueColour(entity.trueColour);
        if (entity.colour == kByBlock) return byBlock;
        if (entity.colour == kByLayer || entity.colour < 0) {
            return layer.trueColour != kNoTrueColour ? fromTrueColour(layer.trueColour)
                                                     : colourOfIndex(layer.colour);
        }
        return colourOfIndex(entity.colour);
    }

    Result<void> visit(const Entity& entity, const Transform& toWorld, Pixel byBlock,
                       uint32_t inheritedLayer, int depth) {
        // Long texts and polylines weigh more than a line.
        const size_t glyphs =
            entity.kind == EntityKind::Text ? drawing_.texts[entity.reference].size() : 0;
        visited_ += 1 + entity.pointCount + glyphs;
        if (visited_ > kMaxDrawnEntities) return tooComplex();
        const int64_t cost = cost::kEntity + cost::kPoint * int64_t{entity.pointCount} +
                             cost::kGlyph * static_cast<int64_t>(glyphs);
        if (!work_.spend(cost)) return work_.stopError();
        // Entities of a block on layer 0 take the layer of their insert.
        uint32_t layerIndex = entity.layer;
        if (inheritedLayer != kNone && drawing_.layers[layerIndex].name == "0")
            layerIndex = inheritedLayer;
        const Layer& layer = drawing_.layers[layerIndex];
        if (!layer.visible) return {};
        const Pixel colour = resolveColour(entity, layer, byBlock);
        const Transform place =
            entity.mirrored ? toWorld.after(Transform::scaling(-1, 1)) : toWorld;
        const Point* points = &drawing_.points[entity.firstPoint];
        const double* values =
            entity.numbers == kNone ? nullptr : &drawing_.numbers[entity.numbers];
        path_.clear();
        switch (entity.kind) {
            case EntityKind::Line:
                visitor_.segment(points[0], points[1], place, colour);
                break;
            case EntityKind::Polyline:
                drawPolyline(entity, points, place, colour);
                break;
            case EntityKind::Circle:
                path_.addEllipse(points[0], values[0], values[0]);
                visitor_.stroke(path_, place, 0, colour);
                break;
            case EntityKind::Arc:
                path_.addArc(points[0], values[0], values[0], 0, values[1] * kDegree,
                             normalisedSweep((values[2] - values[1]) * kDegree), false);
                visitor_.stroke(path_, place, 0, colour);
                break;
            case EntityKind::Ellipse: {
                const Point axis = points[1];
                const double major = vector::length(axis);
                path_.addArc(points[0], major, major * values[0], std::atan2(axis.y, axis.x),
                             values[1], normalisedSweep(values[2] - values[1]), false);
                visitor_.stroke(path_, place, 0, colour);
                break;
            }
            case EntityKind::Text:
                drawText(entity, points, values, place, colour);
                break;
            case EntityKind::Point:
                visitor_.dot(place.apply(points[0]), colour);
                break;
            case EntityKind::Solid:
                path_.addPolygon({points[0], points[1], points[2], points[3]});
                visitor_.fill(path_, place, colour);
                break;
            case EntityKind::Face:
                path_.addPolygon({points[0], points[1], points[2], points[3]});
                visitor_.stroke(path_, place, 0, colour);
                break;
            case EntityKind::Insert:
                return drawInsert(entity, points[0], values, place, colour, layerIndex, depth);
        }
        return {};
    }

    void drawPolyline(const Entity& entity, const Point* points, const Transform& place,
                      Pixel colour) {
        const double* bulges =
            entity.numbers == kNone ? nullptr : &drawing_.numbers[entity.numbers];
        path_.moveTo(points[0]);
        const uint32_t count = entity.pointCount;
        const uint32_t segments = entity.closed ? count : count - 1;
        for (uint32_t i = 0; i < segments; ++i) {
            const Point to = points[(i + 1) % count];
            if (bulges) {
                vector::addBulgeArc(path_, points[i], to, bulges[i]);
            } else {
                path_.lineTo(to);
            }
        }
        if (entity.closed) path_.close();
        visitor_.stroke(path_, place, entity.width, colour);
    }

    void drawText(const Entity& entity, const Point* points, const double* values,
                  const Transform& place, Pixel colour) {
        const std::u32string& text = drawing_.texts[entity.reference];
        if (text.empty()) return;
        double height = values[0];
        double rotation = values[1] * kDegree;
        double widthFactor = values[2];
        const double slant = std::tan(std::clamp(values[3], -85.0, 85.0) * kDegree);
        const double naturalWidth = vector::textWidth(text);
        Point reference = points[1];
        double shiftX = 0;
        double shiftY = 0;
        switch (entity.horizontalAlign) {
            case 1:
                shiftX = -0.5;
                break;
            case 2:
                shiftX = -1;
                break;
            case 3:
            case 5: {
                // Aligned and fit text run from the first point to the second.
                const Point run = points[1] - points[0];
                const double span = vector::length(run);
                if (span > 0 && naturalWidth > 0) {
                    rotation = std::atan2(run.y, run.x);
                    const double scale = span / (naturalWidth * height * widthFactor);
                    widthFactor *= scale;
                    if (entity.horizontalAlign == 3) height *= scale, widthFactor /= scale;
                }
                reference = points[0];
                break;
            }
            case 4:
                shiftX = -0.5;
                break;
            default:
                break;
        }
        if (entity.horizontalAlign == 4) {
            shiftY = -0.5;
        } else {
            switch (entity.verticalAlign) {
                case 1:
                    shiftY = vector::kDescender;
                    break;
                case 2:
                    shiftY = -0.5;
                    break;
                case 3:
                    shiftY = -1;
                    break;
                default:
                    break;
            }
        }
        const Transform glyphs{height * widthFactor, 0, height * slant, height, 0, 0};
        const Transform placement =
            place.after(Transform::translation(reference.x, reference.y))
                .after(Transform::rotation(rotation))
                .after(Transform::translation(shiftX * naturalWidth * height * widthFactor,
                                              shiftY * height))
                .after(glyphs);
        const std::u32string_view all = text;
        for (size_t first = 0; first < all.size(); first += kGlyphsPerStroke) {
            path_.clear();
            const auto shift =
                Transform::translation(static_cast<double>(first) * vector::kGlyphAdvance, 0);
            vector::appendText(path_, all.substr(first, kGlyphsPerStroke), shift);
            visitor_.stroke(path_, placement, kTextWeight, colour);
        }
    }

    Result<void> drawInsert(const Entity& entity, Point at, const double* values,
                            const Transform& place, Pixel colour, uint32_t layer, int depth) {
        if (depth >= kMaxInsertDepth) return {};
        const auto found = drawing_.blocks.find(drawing_.blockNames[entity.reference]);
        if (found == drawing_.blocks.end()) return {};
        const Block& block = found->second;
        double columns = 1, rows = 1, columnSpacing = 0, rowSpacing = 0;
        if (entity.arrayed) {
            columns = values[4];
            rows = values[5];
            columnSpacing = values[6];
            rowSpacing = values[7];
        }
        const Transform base = place.after(Transform::translation(at.x, at.y))
                                   .after(Transform::rotation(values[2] * kDegree));
        for (int row = 0; row < static_cast<int>(rows); ++row) {
            for (int column = 0; column < static_cast<int>(columns); ++column) {
                // Every cell costs, even one whose block draws nothing.
                if (!work_.spend(cost::kCell)) return work_.stopError();
                const Transform cell =
                    base.after(Transform::translation(column * columnSpacing, row * rowSpacing))
                        .after(Transform::scaling(values[0], values[1]))
                        .after(Transform::translation(-block.base.x, -block.base.y));
                for (uint32_t i = 0; i < block.entityCount; ++i) {
                    const Entity& inner = drawing_.entities[block.firstEntity + i];
                    if (auto walked = visit(inner, cell, colour, layer, depth + 1); !walked)
                        return walked;
                }
            }
        }
        return {};
    }

    const Drawing& drawing_;
    Pixel background_;
    Visitor& visitor_;
    WorkMeter& work_;
    size_t visited_ = 0;
    Path path_;
};

class Measurer final : public Visitor {
  public:
    void stroke(const Path& path, const Transform& toWorld, double width, Pixel) override {
        Point low, high;
        if (!path.controlBox(toWorld, low, high)) return;
        const double half = width * toWorld.meanScale() / 2;
        extents.add({low.x - half, low.y - half});
        extents.add({high.x + half, high.y + half});
    }
    void segment(Point from, Point to, const Transform& toWorld, Pixel) override {
        extents.add(toWorld.apply(from));
        extents.add(toWorld.apply(to));
    }
    void fill(const Path& path, const Transform& toWorld, Pixel colour) override {
        stroke(path, toWorld, 0, colour);
    }
    void dot(Point world, Pixel) override { extents.add(world); }

    Extents extents;
};

class Painter final : public Visitor {
  public:
    Painter(vector::PathPainter& canvas, const Transform& toDevice)
        : canvas_(canvas), toDevice_(toDevice) {}

    void stroke(const Path& path, const Transform& toWorld, double width, Pixel colour) override {
        const Transform full = toDevice_.after(toWorld);
        pen_.width = std::max(1.0, width * full.meanScale());
        canvas_.strokePath(path, full, pen_, colour);
    }
    void segment(Point from, Point to, const Transform& toWorld, Pixel colour) override {
        const Transform full = toDevice_.after(toWorld);
        canvas_.drawHairline(full.apply(from), full.apply(to), colour);
    }
    void fill(const Path& path, const Transform& toWorld, Pixel colour) override {
        canvas_.fillPath(path, toDevice_.after(toWorld), vector::FillRule::NonZero, colour);
    }
    void dot(Point world, Pixel colour) override {
        Path point;
        point.addEllipse(toDevice_.apply(world), 1.5, 1.5);
        canvas_.fillPath(point, {}, vector::FillRule::NonZero, colour);
    }

  private:
    vector::PathPainter& canvas_;
    Transform toDevice_;
    vector::Pen pen_;
};

}  // namespace

Result<void> walkDrawing(const Drawing& drawing, Pixel background, Visitor& visitor,
                         WorkMeter& work) {
    return Walker(drawing, background, visitor, work).walkModel();
}

Result<Extents> measureDrawing(const Drawing& drawing, WorkMeter& work) {
    Measurer measurer;
    if (auto walked = walkDrawing(drawing, rgb(0, 0, 0), measurer, work); !walked)
        return walked.error();
    return measurer.extents;
}

Pixel chooseBackground(const Drawing& drawing) {
    size_t light = 0;
    size_t dark = 0;
    for (uint32_t i = 0; i < drawing.modelCount; ++i) {
        const Entity& entity = drawing.entities[drawing.modelFirst + i];
        const Layer& layer = drawing.layers[entity.layer];
        uint32_t value = 0;
        if (entity.trueColour != kNoTrueColour) {
            value = entity.trueColour & 0xFFFFFF;
        } else {
            int index =
                entity.colour == kByLayer || entity.colour < 0 ? layer.colour : entity.colour;
            if (entity.colour == kByLayer && layer.trueColour != kNoTrueColour) {
                value = layer.trueColour & 0xFFFFFF;
                index = -1;
            }
            if (index == 7 || index == kByBlock) continue;  // follows the background anyway
            if (index > 0) value = indexColour(index, rgb(0, 0, 0)) & 0xFFFFFF;
        }
        const double luminance = (0.299 * ((value >> 16) & 0xFF) + 0.587 * ((value >> 8) & 0xFF) +
                                  0.114 * (value & 0xFF)) /
                                 255;
        if (luminance > 0.5) ++light;
        if (luminance < 0.25) ++dark;
    }
    return dark > light ? rgb(255, 255, 255) : rgb(0, 0, 0);
}

Result<void> drawDrawing(const Drawing& drawing, Pixel background,
                         const vector::Transform& toDevice, vector::PathPainter& canvas) {
    Painter painter(canvas, toDevice);
    return walkDrawing(drawing, background, painter, canvas.work());
}

}  // namespace pictavo::imaging::dxf
