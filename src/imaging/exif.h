#pragma once
// The orientation a camera recorded in a JPEG's EXIF block, so that photos
// taken with the camera turned are shown upright.

#include <cstdint>
#include <span>

#include "imaging/orientation.h"

namespace pictavo::imaging {

// app1 is the payload of an APP1 segment ("Exif\0\0" and a TIFF structure).
// Upright when it is no EXIF block, has no orientation, or is damaged.
Orientation exifOrientation(std::span<const uint8_t> app1);

}  // namespace pictavo::imaging
