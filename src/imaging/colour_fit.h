#pragma once
// Reducing a picture to a display's colours, as values: pick the palette
// once, then map the picture onto it (and a re-rendered copy onto the same
// palette, so the colours stay those of the display).

#include <vector>

#include "imaging/colour_reduction.h"
#include "imaging/image.h"

namespace pictavo::imaging {

struct Palette {
    std::vector<Pixel> colours;
    // The depth a picture reduced to it reports (colourCount: 2 to this power).
    int bits = 8;
};

// count colours (2 to 256) for image. fitted: chosen for this picture;
// otherwise 16 gives the standard 16 colours and 256 a fixed palette
// (other counts are always fitted). keepStandard16: a fitted palette of
// more than 16 colours still holds the standard 16.
Palette reductionPalette(const Image& image, int count, bool keepStandard16, bool fitted);

// image with every colour replaced by one of the palette's; it reports the
// palette's depth.
Image reduceColours(Image image, const Palette& palette, Dither dither);

}  // namespace pictavo::imaging
