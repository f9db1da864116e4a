#pragma once
// JPEG, PNG and TIFF through the Windows Imaging Component. Photos taken
// with the camera turned come out upright; a JPEG that will be stretched
// smaller than it is may be decoded at a reduced scale, and of a picture
// shown centred only the part on screen is kept. COM must be initialised
// on the thread that decodes (the host does it at start).

#include "imaging/decoder.h"

namespace pictavo::platform::win32 {

// Empty when the system has no imaging component.
imaging::DecoderList wicDecoders();

}  // namespace pictavo::platform::win32
