// EPS files of any shape: our own parsing (DOS header, bounding box, the WMF
// preview) must decode or fail cleanly. No PostScript interpreter runs here.
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/decoders/eps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const auto decoder = pictavo::imaging::makeEpsDecoder(nullptr, nullptr);
    const std::span<const uint8_t> bytes(data, size);
    (void)decoder->sniff(bytes, "fuzz.eps");
    (void)decoder->decode({bytes, "fuzz.eps"});
    (void)decoder->decode({bytes, "fuzz.eps", pictavo::imaging::Target::stretch(64, 48)});
    return 0;
}
