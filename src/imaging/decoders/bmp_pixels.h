#pragma once
// The pixel data of a bitmap: rows of packed palette indices or of 16-,
// 24- and 32-bit colours, and the run-length encodings RLE4, RLE8 and
// OS/2's RLE24.

#include <cstdint>
#include <span>

#include "common/result.h"
#include "imaging/decoders/bmp_header.h"
#include "imaging/image.h"

namespace pictavo::imaging::bmp {

Result<Image> readRows(std::span<const uint8_t> bytes, const Header& header);
Result<Image> readRunLengths(std::span<const uint8_t> bytes, const Header& header);

}  // namespace pictavo::imaging::bmp
