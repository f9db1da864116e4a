#pragma once
// Plays the records of a Windows metafile onto a canvas, keeping the device
// context a metafile expects: window origin and extent, pens, brushes, fonts
// and palettes in an object table, text and background colours, a clip
// rectangle and a stack of saved states.

#include <cstdint>
#include <optional>
#include <span>

#include "common/result.h"
#include "imaging/vector/path_painter.h"
#include "imaging/work_meter.h"

namespace pictavo::imaging::wmf {

// A logical rectangle: the metafile's window before its records move it.
struct Frame {
    double originX = 0;
    double originY = 0;
    double extentX = 1;
    double extentY = 1;
};

// Draws the records (everything after the metafile header) so that the
// window maps onto the whole canvas. Every record, point and character
// counts against the canvas's meter; fails only when that stops the drawing.
Result<void> playRecords(std::span<const uint8_t> records, const Frame& window,
                         vector::PathPainter& canvas);

// The window a metafile sets for itself (its first window origin and
// extent), or else the bounds of the coordinates it draws at; nothing when
// it draws nothing.
// Each record looked at counts against work; nothing when that stops the search.
std::optional<Frame> findFrame(std::span<const uint8_t> records, WorkMeter& work);

}  // namespace pictavo::imaging::wmf
