// libFuzzer's entry point for one format, named when the fuzzer is built.
#include <cstddef>
#include <cstdint>

#include "fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const pictavo::fuzz::FuzzEntry entry = pictavo::fuzz::fuzzEntry(PICTAVO_FUZZ_FORMAT);
    if (entry == nullptr) __builtin_trap();  // a fuzzer built for a format with no entry
    (void)entry({data, size});
    return 0;
}
