// Metafiles of any shape must decode or fail cleanly.
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/decoders/wmf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A fortieth of a picture's allowance: every path a full one reaches
    // (and its stop) comes sooner, so a run tries many more inputs.
    pictavo::imaging::WorkMeter work(nullptr, pictavo::imaging::kDefaultWorkUnits / 40);
    const std::span<const uint8_t> bytes(data, size);
    (void)pictavo::imaging::decodeWmf(bytes, 256, 256, work);
    // As the show draws it: at a smaller scale, or only a window of it.
    using pictavo::imaging::Target;
    pictavo::imaging::WorkMeter shown(nullptr, pictavo::imaging::kDefaultWorkUnits / 40);
    (void)pictavo::imaging::decodeWmf(
        bytes, size % 2 == 0 ? Target::stretch(64, 48) : Target::centre(64, 48), shown);
    return 0;
}
