#pragma once
// The pictures the layouts name ("icon", "texture", "padlock"), as stored
// in the program's resources. A program built without them (a test) gets
// the same pictures drawn by the artwork code.

#include <string_view>

#include "imaging/image.h"

namespace pictavo::platform::win32 {

imaging::Image resourcePicture(std::string_view name);

}  // namespace pictavo::platform::win32
