#pragma once
// The decoders the Linux and headless hosts bring: JPEG, PNG and TIFF
// through the system's libjpeg-turbo, libpng and libtiff.

#include "imaging/decoder.h"

namespace pictavo::platform {

imaging::DecoderList systemDecoders();

}  // namespace pictavo::platform
