#pragma once
// WordPerfect Graphics 1.0: records of a type byte and a length, coordinates
// in 1200ths of an inch with y up, colours from a 256-entry palette.

#include <cstdint>
#include <span>

#include "common/result.h"
#include "imaging/image.h"
#include "imaging/target.h"
#include "imaging/work_meter.h"

namespace pictavo::imaging::wpg {

// Plays the records that follow the file header.
// Draws the records; target as imaging/target.h says.
Result<Image> playWpg1(std::span<const uint8_t> records, WorkMeter& work,
                       const Target& target = {});

}  // namespace pictavo::imaging::wpg
