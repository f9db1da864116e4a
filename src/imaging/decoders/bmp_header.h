#pragma once
// The header of a Windows or OS/2 bitmap, in every version: OS/2 1.x (12
// bytes), OS/2 2.x (16 to 64), Windows 3 (40), the Adobe variants with
// colour masks (52, 56) and Windows 4 and 5 (108, 124).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "imaging/image.h"
#include "imaging/target.h"

namespace pictavo::imaging::bmp {

enum class Compression { None, Rle8, Rle4, Rle24, BitFields };

struct Header {
    int64_t width = 0;
    int64_t height = 0;  // always positive; topDown tells the row order
    bool topDown = false;
    int bitCount = 0;
    Compression compression = Compression::None;
    // Red, green, blue and alpha masks of 16- and 32-bit pixels; alpha 0: opaque.
    std::array<uint32_t, 4> masks{};
    // Colours of 1- to 8-bit pixels, padded with black to 2^bitCount entries
    // so that any index read from a file has a colour.
    std::vector<Pixel> palette;
    uint64_t pixelOffset = 0;  // where the pixel data starts in the file
};

// How the header is read: a bitmap inside a metafile names itself a DIB in
// its errors, and its colour table may hold 16-bit indices into the
// metafile's logical palette instead of colours.
struct Reading {
    std::string_view format = "BMP";
    bool paletteIndices = false;
    std::span<const Pixel> logicalPalette;
    // What the picture is decoded for, which sets the caps of its size.
    Target target = {};
};

// Header sizes that a file may carry; sniffing relies on it.
bool knownHeaderSize(uint32_t size);

// Reads the header starting at infoOffset of bytes, the beginning of a file
// of fileSize bytes. fileOffset is the pixel offset a file header gave, if
// any; without one (a headerless DIB) the pixels follow the palette.
Result<Header> readHeader(std::span<const uint8_t> bytes, size_t infoOffset,
                          std::optional<uint32_t> fileOffset, uint64_t fileSize,
                          const Reading& reading = {});

}  // namespace pictavo::imaging::bmp
