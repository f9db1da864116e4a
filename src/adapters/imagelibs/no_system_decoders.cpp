// A build without the system's image libraries (the 32-bit test build, where
// Debian has no 32-bit libjpeg, libpng or libtiff to link): JPEG, PNG and
// TIFF files find no decoder and are refused as files of an unknown kind.

#include "adapters/imagelibs/system_decoders.h"

namespace pictavo::platform {

imaging::DecoderList systemDecoders() {
    return {};
}

}  // namespace pictavo::platform
