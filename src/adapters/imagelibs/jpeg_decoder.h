#pragma once
// JPEG through libjpeg-turbo: decoded at a reduced scale when the picture will be
// stretched onto a smaller screen, only the visible window when it is centred,
// and turned upright by its EXIF orientation.

#include <memory>

#include "imaging/decoder.h"

namespace pictavo::platform {

std::unique_ptr<imaging::Decoder> makeJpegDecoder();

}  // namespace pictavo::platform
