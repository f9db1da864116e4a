#pragma once
// WordPerfect Graphics 2.0: records with a class, a type, an extension count
// and a length; objects carry their own flags and placement matrix.

#include <cstdint>
#include <span>

#include "common/result.h"
#include "imaging/image.h"
#include "imaging/work_meter.h"

namespace pictavo::imaging::wpg {

// Plays the records that follow the file header.
Result<Image> playWpg2(std::span<const uint8_t> records, WorkMeter& work);

}  // namespace pictavo::imaging::wpg
