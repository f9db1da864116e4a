#pragma once
// Layout colours (0x00BBGGRR, or 0x800000nn for system colour nn) as the
// pixels of an in-memory picture.

#include "imaging/image.h"
#include "platform/types.h"

namespace pictavo::platform {

// System colours take the values of the classic Windows scheme, which the
// window layouts were drawn for; an unknown system colour is black.
imaging::Pixel pixelFromColour(Colour colour);

}  // namespace pictavo::platform
