#pragma once
// Walks a drawing's model space, blocks and all, and hands every entity's
// outline in world coordinates to a visitor: one that measures the drawing,
// and one that draws it.

#include "common/result.h"
#include "imaging/decoders/dxf_drawing.h"
#include "imaging/image.h"
#include "imaging/vector/path_painter.h"
#include "imaging/work_meter.h"

namespace pictavo::imaging::dxf {

class Visitor {
  public:
    virtual ~Visitor() = default;
    // One straight line of the thinnest pen, the commonest entity of all.
    virtual void segment(Point from, Point to, const vector::Transform& toWorld, Pixel colour) = 0;
    // Lines along the path; width in drawing units (0 for the thinnest line).
    virtual void stroke(const vector::Path& path, const vector::Transform& toWorld, double width,
                        Pixel colour) = 0;
    virtual void fill(const vector::Path& path, const vector::Transform& toWorld, Pixel colour) = 0;
    // A point entity: a dot of a fixed size on screen.
    virtual void dot(Point world, Pixel colour) = 0;
};

// Inserts nest at most this deep; a block that inserts itself stops here.
inline constexpr int kMaxInsertDepth = 16;
// Entities drawn, counting each drawn again by every insert of its block,
// and each weighing one more for every point and every character it has.
inline constexpr size_t kMaxDrawnEntities = 16000000;

// Walks the drawing; colour 7 takes the opposite of background. Every
// entity, point, character and array cell visited counts against work.
// Fails when inserts multiply the drawing past kMaxDrawnEntities or the
// meter stops the walk.
Result<void> walkDrawing(const Drawing& drawing, Pixel background, Visitor& visitor,
                         WorkMeter& work);

// The box around everything the walk would draw.
Result<Extents> measureDrawing(const Drawing& drawing, WorkMeter& work);

// Black, as CAD programs show model space (where colour 7 is white), unless
// the drawing's own colours are mostly dark and would vanish on it.
Pixel chooseBackground(const Drawing& drawing);

// Draws the drawing onto canvas through toDevice, counting against the
// canvas's meter.
Result<void> drawDrawing(const Drawing& drawing, Pixel background,
                         const vector::Transform& toDevice, vector::PathPainter& canvas);

}  // namespace pictavo::imaging::dxf
