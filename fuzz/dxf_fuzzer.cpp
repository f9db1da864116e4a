// Drawing exchange files of any shape, text or binary, must decode or fail cleanly.
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/decoders/dxf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    (void)pictavo::imaging::decodeDxf(std::span<const uint8_t>(data, size), 256, 256);
    return 0;
}
