#pragma once
// Drawing exchange files (.dxf), text and binary: model space's 2D entities
// in the drawing's own colours, fitted to the size the picture is shown at.

#include <cstdint>
#include <memory>
#include <span>

#include "common/result.h"
#include "imaging/decoder.h"

namespace pictavo::imaging {

std::unique_ptr<Decoder> makeDxfDecoder();

// A drawing's units are those of the thing drawn (a house in millimetres),
// not of paper, so it is fitted into the target size (1024 x 768 when none
// is given), keeping its proportions.
// Reading, measuring and drawing all count against work. The file is read
// a piece at a time: a drawing of a hundred megabytes costs its entities'
// memory, not its text's.
// A drawing is fitted into target's size (1024 x 768 when none); a bounded
// target is drawn for as imaging/target.h says.
Result<Image> decodeDxf(const ByteSource& file, const Target& target, WorkMeter& work);
Result<Image> decodeDxf(const ByteSource& file, int targetWidth, int targetHeight, WorkMeter& work);
Result<Image> decodeDxf(std::span<const uint8_t> bytes, int targetWidth, int targetHeight,
                        WorkMeter& work);
// The same with an allowance of its own, the default one.
Result<Image> decodeDxf(std::span<const uint8_t> bytes, int targetWidth = 0, int targetHeight = 0);
// The same, stopping between entities and array cells once work says so.
Result<Image> decodeDxf(std::span<const uint8_t> bytes, int targetWidth, int targetHeight,
                        WorkMeter& work);

}  // namespace pictavo::imaging
