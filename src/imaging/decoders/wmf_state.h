#pragma once
// The device context a metafile draws through: the window, the selected
// pen, brush, font and palette, colours, modes, the current position and
// the clip rectangle.

#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/decoders/wmf_player.h"
#include "imaging/image.h"
#include "imaging/vector/geometry.h"
#include "imaging/vector/path_painter.h"
#include "imaging/vector/rasterizer.h"

namespace pictavo::imaging::wmf {

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
constexpr int kBrushDibPattern = 5;

constexpr int kBkTransparent = 1;
constexpr int kRop2Nop = 11;

struct PenState {
    int style = kPenSolid;
    double width = 0;  // logical units; 0 draws one pixel wide
    uint32_t colour = 0;
};

struct BrushState {
    int style = kBrushSolid;
    uint32_t colour = 0xFFFFFF;
    int hatch = 0;
    // Made once with the brush, shared by every fill that uses it.
    std::shared_ptr<const vector::Tile> pattern;
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
    vector::Rect bounds;              // around them all, logical
};

// A logical palette: shared by the object, the selection and the saved
// states, never copied.
using SharedPalette = std::shared_ptr<const std::vector<Pixel>>;

struct DcState {
    Frame window;
    PenState pen;
    BrushState brush;
    FontState font;
    SharedPalette palette;
    uint32_t textColour = 0;
    uint32_t backgroundColour = 0xFFFFFF;
    bool opaqueBackground = true;
    vector::FillRule fillRule = vector::FillRule::EvenOdd;
    int textAlign = 0;
    int rop2 = 13;
    int textCharExtra = 0;
    vector::Point position;
    // Device clip; the whole canvas when not clipped.
    int clipLeft = 0;
    int clipTop = 0;
    int clipRight = 0;
    int clipBottom = 0;
};

}  // namespace pictavo::imaging::wmf
