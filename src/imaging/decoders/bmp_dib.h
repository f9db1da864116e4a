#pragma once
// Device-independent bitmaps as metafiles embed them: a BITMAPINFOHEADER (or
// the older BITMAPCOREHEADER), its colour table and the rows, with no file
// header in front. Read by the bitmap decoder's own header, row and
// run-length readers.

#include <cstdint>
#include <span>

#include "common/result.h"
#include "imaging/image.h"
#include "imaging/limits.h"
#include "imaging/work_meter.h"

namespace pictavo::imaging {

// With paletteIndices the colour table holds 16-bit indices into
// logicalPalette (a metafile's DIB_PAL_COLORS) instead of colours. A bitmap
// of more than maxPixels is refused before its memory is taken; its pixels
// count against work, when given.
Result<Image> decodePackedDib(std::span<const uint8_t> bytes, bool paletteIndices = false,
                              std::span<const Pixel> logicalPalette = {},
                              int64_t maxPixels = kMaxPicturePixels, WorkMeter* work = nullptr);

}  // namespace pictavo::imaging
