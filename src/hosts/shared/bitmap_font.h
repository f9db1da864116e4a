#pragma once
// A small bitmap font of our own for the in-memory surfaces: printable ASCII
// (32..126) on a 5 x 9 grid. Rows 0..6 hold capitals and digits (row 6 is
// the baseline), rows 7..8 the descenders.

#include <array>
#include <cstddef>
#include <cstdint>

namespace pictavo::platform {

struct GlyphRows {
    static constexpr int kWidth = 5;
    static constexpr int kHeight = 9;
    // Bit (kWidth - 1 - column) of rows[row] is set where the glyph has ink.
    std::array<uint8_t, kHeight> rows{};

    constexpr bool ink(int column, int row) const {
        if (column < 0 || column >= kWidth || row < 0 || row >= kHeight) return false;
        return ((rows[static_cast<size_t>(row)] >> (kWidth - 1 - column)) & 1u) != 0;
    }
};

// Grid units of one character cell: the glyph plus one column of spacing,
// one row of leading above and one below.
inline constexpr int kCellWidthUnits = GlyphRows::kWidth + 1;
inline constexpr int kCellHeightUnits = GlyphRows::kHeight + 2;

// The glyph of a character; anything outside 32..126 shows as '?'.
const GlyphRows& glyphFor(char c);

}  // namespace pictavo::platform
