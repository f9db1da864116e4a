#pragma once
// The orientation a camera recorded in a JPEG's EXIF block, so that photos
// taken with the camera turned are shown upright.

#include <cstdint>
#include <optional>
#include <span>

#include "imaging/orientation.h"

namespace pictavo::imaging {

// The orientation entry (tag 274) of the first directory of a TIFF
// structure: a TIFF file, or what follows "Exif\0\0" in an EXIF block.
// value is read as the type says for SHORT and LONG, and is 0 for others.
struct OrientationEntry {
    uint16_t type = 0;
    uint32_t value = 0;
};
inline constexpr uint16_t kTiffShort = 3;
inline constexpr uint16_t kTiffLong = 4;
// Nothing when the structure has no such entry or is damaged.
std::optional<OrientationEntry> findOrientationEntry(std::span<const uint8_t> tiff);

// app1 is the payload of an APP1 segment ("Exif\0\0" and a TIFF structure).
// Upright when it is no EXIF block, has no orientation, or is damaged.
Orientation exifOrientation(std::span<const uint8_t> app1);

}  // namespace pictavo::imaging
