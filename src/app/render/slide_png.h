#pragma once
// A picture as a PNG file: 24-bit RGB, stored without compression, so the
// slide show's render commands need no library. Only for looking at.

#include <string>

#include "common/result.h"
#include "imaging/image.h"

namespace pictavo::render {

Result<void> writeSlidePng(const imaging::Image& image, const std::string& path);

}  // namespace pictavo::render
