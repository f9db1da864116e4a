#pragma once
// The program's own pictures, drawn by code so that no binary asset has to
// be kept in the repository: the configuration dialog's background texture,
// the program icon and the padlock of the password prompt.

#include <string_view>

#include "imaging/image.h"

namespace pictavo::artwork {

// "texture": 48 x 48, tiles seamlessly, a few dozen quiet greys.
// "icon":    32 x 32, a little monitor showing a landscape.
// "padlock": 46 x 51, drawn in the standard 16 colours.
// The icon's and the padlock's background is transparent (alpha 0) over
// light grey, so a host that ignores alpha shows the dialogs' own grey.
// Any other name gives an empty image.
imaging::Image image(std::string_view name);

}  // namespace pictavo::artwork
