#pragma once
// Two pictures anyone can tell apart at a glance, for transitions rendered
// without picture files: a cool, striped "old" slide and a warm, ringed
// "new" one.

#include "imaging/image.h"

namespace pictavo::render {

imaging::Image oldSamplePicture(int width, int height);
imaging::Image newSamplePicture(int width, int height);

}  // namespace pictavo::render
