#pragma once
// Pictures to PNG files (8-bit RGB; alpha is not written).

#include <string>

#include "common/result.h"
#include "imaging/image.h"

namespace pictavo::render {

Result<void> writePng(const std::string& path, const imaging::Image& image);

}  // namespace pictavo::render
