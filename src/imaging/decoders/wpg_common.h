#pragma once
// What the two WordPerfect Graphics versions share: record lengths, the
// default palette, run-length bitmaps.

#include <array>
#include <cstdint>
#include <span>

#include "common/result.h"
#include "imaging/byte_reader.h"
#include "imaging/image.h"

namespace pictavo::imaging::wpg {

// 1, 2 or 4 bytes: 0xFF announces a 16-bit length, whose top bit announces
// a 32-bit one.
uint32_t readLength(ByteReader& in);

// The palette a picture starts with (the VGA's default colours).
std::array<Pixel, 256> defaultPalette();

// Rows of a WPG bitmap, run-length coded, each rowBytes long.
std::vector<uint8_t> expandRuns(std::span<const uint8_t> data, size_t rowBytes, size_t rows);

// Palette indices of bits per pixel 1, 2, 4 or 8, rows top first.
Result<Image> indexedBitmap(std::span<const uint8_t> rows, int width, int height, int bits,
                            const std::array<Pixel, 256>& palette);

}  // namespace pictavo::imaging::wpg
