#pragma once
// One function per picture; artwork::image picks among them by name.

#include "imaging/image.h"

namespace pictavo::artwork {

imaging::Image drawTexture();
imaging::Image drawIcon();
imaging::Image drawPadlock();

}  // namespace pictavo::artwork
