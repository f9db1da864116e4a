#pragma once
// Utah RLE, the run-length format of the Utah Raster Toolkit: one to three
// colour channels (and alpha), a colour map, bottom row first.

#include <memory>

#include "imaging/decoder.h"

namespace pictavo::imaging {

std::unique_ptr<Decoder> makeUtahRleDecoder();

}  // namespace pictavo::imaging
