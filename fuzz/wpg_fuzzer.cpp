// WordPerfect Graphics of any shape must decode or fail cleanly.
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/decoders/wpg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    (void)pictavo::imaging::decodeWpg(std::span<const uint8_t>(data, size));
    return 0;
}
