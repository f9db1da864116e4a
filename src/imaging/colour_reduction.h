#pragma once
// Fitting a picture's colours to a display of 16 or 256 colours: choose a
// palette, then map every pixel to it, optionally spreading each pixel's
// rounding error to its neighbours so areas keep their average colour.

#include <span>
#include <vector>

#include "imaging/image.h"

namespace pictavo::imaging {

enum class Dither {
    None,            // nearest palette colour
    ErrorDiffusion,  // Floyd-Steinberg, serpentine
};

// The 16 colours of a standard VGA display, in the order Windows numbers them.
std::span<const Pixel> standardPalette16();

// 256 distinct colours that suit any picture: the 16 above, a 6 x 6 x 6
// colour cube and 32 greys.
std::vector<Pixel> fixedPalette256();

// At most count colours (2 to 256) fitted to the picture. A picture with no
// more distinct colours than that keeps exactly its own colours.
std::vector<Pixel> adaptivePalette(const Image& image, int count);

// Replaces every pixel's colour by a palette colour; alpha stays as it was.
void mapToPalette(Image& image, std::span<const Pixel> palette, Dither dither);

}  // namespace pictavo::imaging
