// Arbitrary bytes through the JPEG, PNG and TIFF decoders, whole, scaled and
// as a centred window, so that our handling of the libraries' errors, the
// EXIF reader, the window arithmetic and the scaling as rows come meet
// damaged input.
#include <cstddef>
#include <cstdint>

#include "adapters/imagelibs/system_decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const auto decoders = pictavo::platform::systemDecoders();
    pictavo::imaging::DecodeRequest request;
    request.bytes = {data, size};
    for (const auto& decoder : decoders) {
        if (decoder->sniff(request.bytes, "") == pictavo::imaging::Confidence::None) continue;
        using pictavo::imaging::Target;
        for (const Target& target : {Target::atLeast(40, 30), Target::centre(40, 30),
                                     Target::stretch(40, 30), Target::whole()}) {
            request.target = target;
            (void)decoder->decode(request);
        }
    }
    return 0;
}
