#pragma once
// JPEG, PNG and TIFF through the Windows Imaging Component. Photos taken
// with the camera turned come out upright, and a JPEG that will be shown
// smaller than it is may be decoded at a reduced scale. COM must be
// initialised on the thread that decodes (the host does it at start).

#include <cstdint>

#include "imaging/decoder.h"
#include "imaging/image.h"

namespace pictavo::platform::win32 {

// Empty when the system has no imaging component.
imaging::DecoderList wicDecoders();

// The picture upright, for the orientations 1 to 8 of the EXIF/TIFF tag
// (where the stored first row and first column lie); other values leave it
// as stored.
imaging::Image uprightPicture(const imaging::Image& stored, int orientation);

}  // namespace pictavo::platform::win32
