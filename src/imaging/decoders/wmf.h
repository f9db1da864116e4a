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
// (1024 x 768 when none is given). The player stops between records once
// work says so.
Result<Image> decodeWmf(std::span<const uint8_t> bytes, int targetWidth, int targetHeight,
                        WorkMeter& work);
Result<Image> decodeWmf(std::span<const uint8_t> bytes, int targetWidth = 0, int targetHeight = 0);

}  // namespace pictavo::imaging
