#pragma once
// Truevision TGA: colour-mapped, true-colour and grey pictures, raw or
// run-length encoded, stored from the bottom or the top row.

#include <memory>

#include "imaging/decoder.h"

namespace pictavo::imaging {

std::unique_ptr<Decoder> makeTgaDecoder();

}  // namespace pictavo::imaging
