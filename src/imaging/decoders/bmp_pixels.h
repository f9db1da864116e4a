#pragma once
// The pixel data of a bitmap: rows of packed palette indices or of 16-,
// 24- and 32-bit colours, and the run-length encodings RLE4, RLE8 and
// OS/2's RLE24.

#include <cstdint>
#include <span>

#include "common/result.h"
#include "imaging/byte_source.h"
#include "imaging/decoders/bmp_header.h"
#include "imaging/image.h"
#include "imaging/target.h"
#include "imaging/work_meter.h"

namespace pictavo::imaging::bmp {

// Both read the file a row (or a buffer) at a time from header.pixelOffset,
// deliver what target asks for (imaging/target.h), and stop between rows
// (runs) once work says so.
Result<Image> readRows(const ByteSource& file, const Header& header, WorkMeter& work,
                       const Target& target = {});
Result<Image> readRunLengths(const ByteSource& file, const Header& header, WorkMeter& work,
                             const Target& target = {});

}  // namespace pictavo::imaging::bmp
