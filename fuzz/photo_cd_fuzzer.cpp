// Arbitrary bytes through the Photo CD decoder, at each resolution it can
// choose: errors are fine, crashes and undefined behaviour are not.
#include <cstddef>
#include <cstdint>

#include "imaging/decoders/photo_cd.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const auto decoder = pictavo::imaging::makePhotoCdDecoder();
    pictavo::imaging::DecodeRequest request;
    request.bytes = {data, size};
    request.fileName = "fuzz.pcd";
    for (int target : {0, 100, 300}) {
        request.target = pictavo::imaging::Target::stretch(target, target * 2 / 3);
        (void)decoder->decode(request);
    }
    return 0;
}
