#pragma once
// The colours a drawing exchange file names by number.

#include <cstddef>

#include "imaging/image.h"

namespace pictavo::imaging::dxf {

// The colour of index 1..255 of the AutoCAD Colour Index. Index 7 draws in
// the opposite of the background (white on black, black on white).
Pixel indexColour(int index, Pixel background);

}  // namespace pictavo::imaging::dxf
