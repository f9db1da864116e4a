#pragma once
// A fingerprint of a picture that stays the same from build to build and
// machine to machine, so that it can be committed and compared.

#include <cstdint>
#include <string>

#include "imaging/image.h"

namespace pictavo::golden {

// FNV-1a, 64 bits, over the width and the height (four bytes each, least
// significant first) and then the pixels row by row from the top, each as
// its bytes red, green, blue, alpha.
uint64_t pixelHash(const imaging::Image& image);

// Sixteen lower-case hexadecimal digits.
std::string hexHash(uint64_t hash);

}  // namespace pictavo::golden
