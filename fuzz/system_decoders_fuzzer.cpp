// Arbitrary bytes through the JPEG, PNG and TIFF decoders, whole, scaled and
// as a centred window, so that our handling of the libraries' errors, the
// EXIF reader and the window arithmetic meet damaged input.
#include <cstddef>
#include <cstdint>

#include "adapters/imagelibs/system_decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const auto decoders = pictavo::platform::systemDecoders();
    pictavo::imaging::DecodeRequest request;
    request.bytes = {data, size};
    for (const auto& decoder : decoders) {
        if (decoder->sniff(request.bytes, "") == pictavo::imaging::Confidence::None) continue;
        for (bool centred : {false, true}) {
            request.targetWidth = 40;
            request.targetHeight = 30;
            request.centreCrop = centred;
            (void)decoder->decode(request);
        }
        request.targetWidth = 0;
        request.targetHeight = 0;
        request.centreCrop = false;
        (void)decoder->decode(request);
    }
    return 0;
}
