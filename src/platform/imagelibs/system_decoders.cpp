#include "platform/imagelibs/system_decoders.h"

#include "platform/imagelibs/jpeg_decoder.h"
#include "platform/imagelibs/png_decoder.h"
#include "platform/imagelibs/tiff_decoder.h"

namespace pictavo::platform {

imaging::DecoderList systemDecoders() {
    imaging::DecoderList decoders;
    decoders.push_back(makeJpegDecoder());
    decoders.push_back(makePngDecoder());
    decoders.push_back(makeTiffDecoder());
    return decoders;
}

}  // namespace pictavo::platform
