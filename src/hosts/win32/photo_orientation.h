#pragma once
// How a camera was held, read from the file itself where the imaging
// component does not tell (Wine's does not read EXIF): the orientation tag
// (274), 1 to 8 as the tag numbers them, read by the core's TIFF reader
// from a TIFF file's first directory or a JPEG's EXIF block.

#include <cstdint>
#include <span>

namespace pictavo::platform::win32 {

// The tag in the first IFD of a TIFF file; 1 when absent or damaged.
int tiffOrientation(std::span<const uint8_t> tiff);

// The tag in a JPEG's EXIF block (APP1 starting "Exif\0\0"); 1 when none.
int jpegOrientation(std::span<const uint8_t> jpeg);

}  // namespace pictavo::platform::win32
