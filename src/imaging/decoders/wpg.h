#pragma once
// WordPerfect Graphics 1.0 and 2.0 (.wpg): their vector records (lines,
// polylines, polygons, rectangles, ellipses and arcs, curves, fills) and
// bitmap records, drawn on the shared rasteriser at the picture's own size.

#include <cstdint>
#include <memory>
#include <span>

#include "common/result.h"
#include "imaging/decoder.h"

namespace pictavo::imaging {

std::unique_ptr<Decoder> makeWpgDecoder();

// Every record read and everything drawn counts against work.
Result<Image> decodeWpg(std::span<const uint8_t> bytes, WorkMeter& work, const Target& target = {});
// The same with an allowance of its own, the default one.
Result<Image> decodeWpg(std::span<const uint8_t> bytes);

}  // namespace pictavo::imaging
