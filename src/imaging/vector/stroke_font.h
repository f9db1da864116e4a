#pragma once
// A small single-line font for the text in drawings (DXF TEXT, metafile
// text, WPG labels). Every glyph is a few pen strokes, so text scales,
// rotates and slants like the rest of the drawing, the same on every build.

#include <string>
#include <string_view>

#include "imaging/vector/path.h"

namespace pictavo::imaging::vector {

// Font units: capitals are 1 tall, the baseline is y = 0 and y grows upwards.
inline constexpr double kGlyphAdvance = 1.0;
// Ink width of a glyph within its advance.
inline constexpr double kGlyphInkWidth = 4.0 / 6.0;
inline constexpr double kDescender = 2.0 / 6.0;

// Adds the strokes of text to path in font units, the first glyph's origin
// at (0, 0), each mapped through placement. Code points without a glyph of
// their own are drawn as a box.
void appendText(Path& path, std::u32string_view text, const Transform& placement);

// Distance from the first glyph's left edge to the last glyph's right ink.
double textWidth(std::u32string_view text);

// Bytes in Windows-1252 (the code page of metafile and older DXF text) as
// code points.
std::u32string fromWindows1252(std::string_view bytes);
// UTF-8 as code points; broken sequences become U+FFFD.
std::u32string fromUtf8(std::string_view bytes);

}  // namespace pictavo::imaging::vector
