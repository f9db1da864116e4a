#pragma once
// PNG files as pictures, transparent parts laid on black. Stands in for the
// picture loader until the tool can use it.

#include <string>

#include "common/result.h"
#include "imaging/image.h"

namespace pictavo::render {

// Fails (with the reason) for unreadable files and pictures wider or higher
// than maxSide.
Result<imaging::Image> readPng(const std::string& path, int maxSide);

}  // namespace pictavo::render
