#pragma once
// WordPerfect Graphics 2.0: records with a class, a type, an extension count
// and a length; objects carry their own flags and placement matrix.

#include <cstdint>
#include <span>

#include "common/result.h"
#include "imaging/image.h"
#include "imaging/target.h"
#include "imaging/work_meter.h"

namespace pictavo::imaging::wpg {

// Plays the records that follow the file header.
// Draws the records; target as imaging/target.h says.
Result<Image> playWpg2(std::span<const uint8_t> records, WorkMeter& work,
                       const Target& target = {});

}  // namespace pictavo::imaging::wpg
