#pragma once
// Windows and OS/2 bitmaps: .bmp files (OS/2 bitmap arrays too), run-length
// .rle files (the same format, compressed) and headerless DIBs as the
// clipboard keeps them.

#include <memory>

#include "imaging/decoder.h"

namespace pictavo::imaging {

std::unique_ptr<Decoder> makeBmpDecoder();

}  // namespace pictavo::imaging
