#pragma once
// TIFF through libtiff, recognised by content whatever the file is called
// (fax pages saved as *.fmf are TIFF files): the first page, turned upright
// by its orientation tag.

#include <memory>

#include "imaging/decoder.h"

namespace pictavo::platform {

std::unique_ptr<imaging::Decoder> makeTiffDecoder();

}  // namespace pictavo::platform
