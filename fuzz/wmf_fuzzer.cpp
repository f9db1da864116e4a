// Metafiles of any shape must decode or fail cleanly.
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/decoders/wmf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    (void)pictavo::imaging::decodeWmf(std::span<const uint8_t>(data, size), 256, 256);
    return 0;
}
