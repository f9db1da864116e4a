#pragma once
// Golden entries of the pictures the decoder tests have other programs
// write (netpbm, GraphicsMagick, libjpeg-turbo's and libtiff's tools,
// ezdxf): each written again the same way from the same source picture and
// decoded by our decoder for its format. Those whose programs are missing
// here are skipped.

#include "golden/golden_file.h"

namespace pictavo::golden {

inline constexpr const char* kMadePrefix = "made/";

Computed madePictures();

}  // namespace pictavo::golden
