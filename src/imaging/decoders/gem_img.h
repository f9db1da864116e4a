#pragma once
// GEM bit images (*.img): the bit-plane pictures of GEM Paint, Ventura
// Publisher and Atari ST programs, with the XIMG colour table when present.

#include <memory>

#include "imaging/decoder.h"

namespace pictavo::imaging {

std::unique_ptr<Decoder> makeGemImgDecoder();

}  // namespace pictavo::imaging
