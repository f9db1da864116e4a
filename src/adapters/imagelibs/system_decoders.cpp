#include "adapters/imagelibs/system_decoders.h"

#include "adapters/imagelibs/jpeg_decoder.h"
#include "adapters/imagelibs/png_decoder.h"
#include "adapters/imagelibs/tiff_decoder.h"

namespace pictavo::platform {

imaging::DecoderList systemDecoders() {
    imaging::DecoderList decoders;
    decoders.push_back(makeJpegDecoder());
    decoders.push_back(makePngDecoder());
    decoders.push_back(makeTiffDecoder());
    return decoders;
}

}  // namespace pictavo::platform
