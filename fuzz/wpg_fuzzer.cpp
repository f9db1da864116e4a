// WordPerfect Graphics of any shape must decode or fail cleanly.
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/decoders/wpg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A fortieth of a picture's allowance: every path a full one reaches
    // (and its stop) comes sooner, so a run tries many more inputs.
    pictavo::imaging::WorkMeter work(nullptr, pictavo::imaging::kDefaultWorkUnits / 40);
    (void)pictavo::imaging::decodeWpg(std::span<const uint8_t>(data, size), work);
    return 0;
}
