#pragma once
// Windows metafiles (.wmf), placeable or not, played by our own player so
// that both builds draw them alike.

#include <cstdint>
#include <memory>
#include <span>

#include "common/result.h"
#include "imaging/decoder.h"

namespace pictavo::imaging {

std::unique_ptr<Decoder> makeWmfDecoder();

// A placeable metafile is drawn at the size its header gives (its units per
// inch at 96 dpi); one without that header is fitted into the target size
// (1024 x 768 when none is given).
// Every record read and everything drawn counts against work.
// A metafile that states no size is fitted into target's size (1024 x 768
// when none); a bounded target is drawn for as imaging/target.h says.
Result<Image> decodeWmf(std::span<const uint8_t> bytes, const Target& target, WorkMeter& work);
Result<Image> decodeWmf(std::span<const uint8_t> bytes, int targetWidth, int targetHeight,
                        WorkMeter& work);
// The same with an allowance of its own, the default one.
Result<Image> decodeWmf(std::span<const uint8_t> bytes, int targetWidth = 0, int targetHeight = 0);

}  // namespace pictavo::imaging
