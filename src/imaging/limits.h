#pragma once
// How big a decoded picture may get. A header can claim any size; the
// claim is checked here before a single pixel is allocated, so a 60-byte
// file cannot make the saver reserve gigabytes.

#include <cstdint>

#include "common/result.h"
#include "imaging/image.h"

namespace pictavo::imaging {

// Widest or tallest picture we decode; also keeps sizes inside the 16-bit
// integers that hold a picture's size elsewhere in the saver.
inline constexpr int64_t kMaxPictureSide = 16384;
// 256 MiB of pixels: a 64-megapixel photo still loads, even on 32-bit Windows.
inline constexpr int64_t kMaxPicturePixels = int64_t{64} * 1024 * 1024;

// The caps of a picture decoded for the screen (imaging/target.h): it is
// scaled or cut to the screen as it is decoded, so what it costs is the
// screen's size plus a band of rows, whatever its own size. Every phone
// photo, panorama and scan of today passes: up to 65535 pixels a side and
// 256 megapixels. Sizes are 64-bit products, never 32-bit ones, on every
// build.
inline constexpr int64_t kMaxStagedSide = 65535;
inline constexpr int64_t kMaxStagedPixels = int64_t{1} << 28;

// The largest picture file we open: a picture within the caps above, kept
// without compression at 16 bits a channel with alpha, is no bigger. Larger
// files are refused before a byte is read ("file too large: 1000 MB").
inline constexpr uint64_t kMaxFileBytes = uint64_t{kMaxPicturePixels} * 8;
// The same for a picture decoded for the screen, within the staging caps.
inline constexpr uint64_t kMaxStagedFileBytes = uint64_t{kMaxStagedPixels} * 8;
// The largest file a decoder that cannot work from pieces (a drawing, which
// it reads whole before it draws) is given whole.
inline constexpr uint64_t kMaxWholeFileBytes = uint64_t{64} << 20;

// What one picture may take while it is decoded: its pixels (at most
// 256 MiB) and what the decoder holds beside them.
inline constexpr uint64_t kMaxDecodeBytes = uint64_t{280} << 20;

// "file too large: N MB".
Error fileTooLarge(uint64_t bytes);

// "picture too large: W x H" above the caps, "invalid picture size: W x H"
// for sizes of zero or less.
Result<void> checkPictureSize(int64_t width, int64_t height);
// The same against the staging caps.
Result<void> checkStagedSize(int64_t width, int64_t height);

// An image of that size filled with fill, or the error above, or
// "not enough memory" when the allocation itself fails.
Result<Image> allocateImage(int64_t width, int64_t height, Pixel fill = rgb(0, 0, 0));
// The same within the staging caps.
Result<Image> allocateStagedImage(int64_t width, int64_t height, Pixel fill = rgb(0, 0, 0));

}  // namespace pictavo::imaging
