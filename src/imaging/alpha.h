#pragma once
// What the saver does with transparency: it shows pictures on black.

#include <span>

#include "imaging/image.h"

namespace pictavo::imaging {

// Writers that declare an alpha channel but leave every alpha at zero mean
// an opaque picture, not an invisible one.
void opaqueIfAlphaIsAllZero(Image& image);

// Composites every pixel over black, leaving it opaque.
void layOnBlack(Image& image);
// The same for a run of pixels, for decoders that finish a picture row by row.
void layOnBlack(std::span<Pixel> pixels);

}  // namespace pictavo::imaging
