#pragma once
// Re-rendering a picture at another size. Each axis is filtered on its own:
// where it shrinks, every output pixel averages exactly the area of source
// pixels it covers (no aliasing on photos scaled down to the screen); where
// it grows, bilinear interpolation between pixel centres.

#include "common/result.h"
#include "imaging/image.h"

namespace pictavo::imaging {

// A copy of source at width x height; the size must pass the picture caps.
Result<Image> resample(const Image& source, int width, int height);

}  // namespace pictavo::imaging
