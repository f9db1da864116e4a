#pragma once
// PNG through libpng: every colour type and bit depth, interlaced or not;
// transparent parts are shown over black.

#include <memory>

#include "imaging/decoder.h"

namespace pictavo::platform {

std::unique_ptr<imaging::Decoder> makePngDecoder();

}  // namespace pictavo::platform
