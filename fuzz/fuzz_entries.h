#pragma once
// What each fuzzer does with one input, kept apart from libFuzzer's entry
// point so that the inputs the fuzzers once broke on (fuzz/regressions)
// can be replayed by an ordinary test in every build.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "imaging/image.h"

namespace pictavo::fuzz {

using Outcomes = std::vector<Result<imaging::Image>>;
using FuzzEntry = Outcomes (*)(std::span<const uint8_t> bytes);

// The entry for a format folder name ("bmp", "dxf", ...); nullptr for none.
FuzzEntry fuzzEntry(std::string_view format);

}  // namespace pictavo::fuzz
