#pragma once
// The few error texts every decoder shares, so the user reads the same words
// for the same trouble whatever the format.

#include <string>
#include <string_view>

#include "common/result.h"

namespace pictavo::imaging {

inline Error unsupportedFormat() {
    return makeError("unsupported format");
}
inline Error fileTruncated() {
    return makeError("file is truncated");
}

// "invalid BMP file: bad palette size"
inline Error invalidFile(std::string_view format, std::string_view what) {
    return makeError("invalid " + std::string(format) + " file: " + std::string(what));
}

// "unsupported BMP file: 64 bits per pixel"
inline Error unsupportedFeature(std::string_view format, std::string_view what) {
    return makeError("unsupported " + std::string(format) + " file: " + std::string(what));
}

}  // namespace pictavo::imaging
