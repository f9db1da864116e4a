#pragma once
// Golden entries of the 43 transition effects: the frame shown at the
// effect's middle pause and its last frame, at the screen sizes where each
// family's rounding and clipping show.

#include "golden/golden_file.h"

namespace pictavo::golden {

inline constexpr const char* kTransitionPrefix = "transition/";

Computed transitionFrames();

}  // namespace pictavo::golden
