#pragma once
// What the things a decoder visits cost against its WorkMeter, in the
// meter's unit: about one pixel painted by the vector canvas.
//
// Measured, not guessed: bench/bench_work.cpp times each kind of visit on
// its own (an empty array cell, a record that draws nothing, a glyph laid
// out but not painted, ...) and the canvas painting a large fill, and prints
// each visit's time over the time of one unit. The weights below are those
// ratios rounded up, taken on the build machine of the Release preset; the
// bench also prints how long each kind would run before its weight spends
// the default allowance, which must stay near a second for every kind.

#include <cstdint>

namespace pictavo::imaging::cost {

// A DXF group (code and value) read from the file.
inline constexpr int64_t kGroup = 16;
// A DXF entity walked once, before its points and its drawing.
inline constexpr int64_t kEntity = 8;
// One cell of an INSERT's array (or the one place of a plain INSERT)
// walked, whether its block draws anything or not.
inline constexpr int64_t kCell = 4;
// A metafile or WPG record read and dispatched, before what it draws,
inline constexpr int64_t kRecord = 6;
// and, for a record that makes a pen, brush, font or the like, the object.
inline constexpr int64_t kObject = 24;
// A point of a path built, transformed and flattened, before it is painted.
inline constexpr int64_t kPoint = 6;
// A character of text laid out as strokes, before they are painted.
inline constexpr int64_t kGlyph = 72;
// A byte of text decoded from the file.
inline constexpr int64_t kTextByte = 12;
// A pixel of a bitmap inside a drawing, unpacked before it is drawn.
inline constexpr int64_t kBitmapPixel = 1;
// A block of a JPEG component visited by one scan, even one without data.
inline constexpr int64_t kScanBlock = 3;

// The canvas's own painting, besides the unit (a pixel of a fill):
// a step of a hairline (two pixels shaded by their distance from it),
inline constexpr int64_t kHairlineStep = 18;
// a cell a fill's edges cross (gathered, sorted and swept),
inline constexpr int64_t kEdgeCell = 110;
// and a pixel of a bitmap copied onto the canvas.
inline constexpr int64_t kImagePixel = 3;

}  // namespace pictavo::imaging::cost
