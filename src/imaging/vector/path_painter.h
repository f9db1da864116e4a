#pragma once
// The surface the vector decoders draw on: an Image with a clip rectangle,
// filled through the anti-aliasing rasteriser.

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "imaging/image.h"
#include "imaging/vector/path.h"
#include "imaging/vector/picture_size.h"
#include "imaging/vector/rasterizer.h"
#include "imaging/vector/stroker.h"
#include "imaging/work_meter.h"

namespace pictavo::imaging::vector {

// A repeating tile, anchored at the device origin: hatch and pattern brushes.
// Pixels whose alpha is 0 leave the surface as it was.
struct Tile {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;
};

// What a fill puts down: one colour (its alpha is the opacity) or a tile.
struct Paint {
    Paint(Pixel solid = rgb(0, 0, 0)) : colour(solid) {}  // NOLINT: a colour is a paint
    Paint(Pixel solid, std::shared_ptr<const Tile> pattern)
        : colour(solid), tile(std::move(pattern)) {}

    Pixel colour;
    std::shared_ptr<const Tile> tile;
};

// How copied pixels combine with the surface, as raster operations do.
enum class BlendOp { Copy, And, Or, Xor };

struct Rect {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// Pens up to this wide (device pixels) draw hairlines.
inline constexpr double kHairlineWidth = 1.5;

// Pens wider than this (device pixels) are not drawn at all.
inline constexpr double kMaxPenWidth = 1 << 16;

class PathPainter {
  public:
    // Painting counts against work, the meter of the picture being drawn.
    PathPainter(Image& target, WorkMeter& work);
    // Drawing in the drawing's own pixels onto a canvas that holds a part of
    // it, or all of it at a smaller scale (picture_size.h): every point,
    // clip, pen width and bitmap goes through view.
    PathPainter(Image& target, WorkMeter& work, const View& view);
    // A canvas with an allowance of its own, the default one.
    explicit PathPainter(Image& target);
    PathPainter(const PathPainter&) = delete;
    PathPainter& operator=(const PathPainter&) = delete;

    // The drawing's own size, whatever part of it the canvas holds.
    int width() const { return view_.drawing.width; }
    int height() const { return view_.drawing.height; }
    Image& image() { return image_; }

    // Every fill counts the pixels and edge cells it works on. A drawing that
    // has used up its allowance (or is no longer wanted) is not worth
    // finishing: decoders check stopped() and give up with the meter's error.
    bool stopped() const { return work_->stopped(); }
    WorkMeter& work() { return *work_; }

    // Pixels outside the clip rectangle are never touched.
    void setClip(int left, int top, int right, int bottom);
    void resetClip();

    void fill(const std::vector<Contour>& contours, FillRule rule, const Paint& paint);
    void fillPath(const Path& path, const Transform& toDevice, FillRule rule, const Paint& paint);
    // Draws the path's lines with pen (whose width is in device pixels);
    // thin pens draw hairlines.
    void strokePath(const Path& path, const Transform& toDevice, const Pen& pen,
                    const Paint& paint);

    // A line one pixel wide from a to b (device points), anti-aliased by
    // how far each pixel's centre lies from it: the fast road for the
    // hairlines most drawings are made of.
    void drawHairline(Point a, Point b, Pixel colour);
    void drawHairlines(const std::vector<Contour>& lines, Pixel colour);

    // Copies source's pixels from sourceRect onto the device rectangle
    // destination (which may be mirrored: right < left), sampling at pixel
    // centres.
    void drawImage(const Image& source, const Rect& sourceRect, const Rect& destination,
                   BlendOp op = BlendOp::Copy);

  private:
    class PaintSink;
    void fillOnCanvas(const std::vector<Contour>& contours, FillRule rule, const Paint& paint);
    void strokeOnCanvas(const Path& path, const Transform& toDevice, const Pen& pen,
                        const Paint& paint);
    void hairlinesOnCanvas(const std::vector<Contour>& lines, Pixel colour);
    void plot(int x, int y, Pixel colour, double coverage);
    void hairline(Point a, Point b, Pixel colour);
    std::vector<Contour> onCanvas(const std::vector<Contour>& contours) const;
    Point onCanvas(Point p) const { return view_.transform().apply(p); }

    Image& image_;
    View view_;
    // Tiles stay anchored at the drawing's origin in a window of it.
    int tileLeft_ = 0;
    int tileTop_ = 0;
    int clipLeft_ = 0;
    int clipTop_ = 0;
    int clipRight_ = 0;
    int clipBottom_ = 0;
    Rasterizer rasterizer_;
    WorkMeter ownWork_;
    WorkMeter* work_;
};

// src over dst with coverage alpha/255 (and the source's own alpha).
Pixel blend(Pixel destination, Pixel source, uint8_t alpha);

}  // namespace pictavo::imaging::vector
