// Arbitrary bytes through the GEM image decoder: errors are fine, crashes,
// leaks and undefined behaviour are not.
#include <cstddef>
#include <cstdint>

#include "imaging/decoders/gem_img.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const auto decoder = pictavo::imaging::makeGemImgDecoder();
    pictavo::imaging::DecodeRequest request;
    request.bytes = {data, size};
    request.fileName = "fuzz.img";
    if (decoder->sniff(request.bytes, request.fileName) != pictavo::imaging::Confidence::None) {
        using pictavo::imaging::Target;
        for (const Target& target : {Target::whole(), Target::stretch(40, 30)}) {
            request.target = target;
            (void)decoder->decode(request);
        }
    }
    return 0;
}
