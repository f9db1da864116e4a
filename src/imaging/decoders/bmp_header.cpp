#include "imaging/decoders/bmp_header.h"

#include <algorithm>
#include <string>

#include "imaging/byte_reader.h"
#include "imaging/errors.h"
#include "imaging/limits.h"

namespace pictavo::imaging::bmp {

namespace {

constexpr uint32_t kCoreHeader = 12;  // OS/2 1.x
constexpr uint32_t kInfoHeader = 40;  // Windows 3
constexpr uint32_t kV2Header = 52;    // with red, green and blue masks
constexpr uint32_t kV3Header = 56;    // with an alpha mask too
constexpr uint32_t kV4Header = 108;
constexpr uint32_t kV5Header = 124;
constexpr uint32_t kOs2MaxHeader = 64;

bool isOs2Version2(uint32_t size) {
    return size >= 16 && size <= kOs2MaxHeader && size != kInfoHeader && size != kV2Header &&
           size != kV3Header;
}

bool validBitCount(int bits) {
    return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 ||
           bits == 32;
}

struct RawFields {
    uint32_t headerSize = 0;
    int64_t width = 0;
    int64_t height = 0;
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;
    std::array<uint32_t, 4> masks{};
};

RawFields readFields(ByteReader& in) {
    RawFields f;
    f.headerSize = in.u32();
    if (f.headerSize == kCoreHeader) {
        f.width = in.u16();
        f.height = in.u16();
        f.planes = in.u16();
        f.bitCount = in.u16();
        return f;
    }
    const size_t start = in.position() - 4;
    f.width = in.i32();
    f.height = in.i32();
    f.planes = in.u16();
    f.bitCount = in.u16();
    // Shortened OS/2 2.x headers end early; missing fields count as zero.
    auto field = [&](size_t offset) -> uint32_t {
        if (offset + 4 > f.headerSize) return 0;
        in.seek(start + offset);
        return in.u32();
    };
    f.compression = field(16);
    f.coloursUsed = field(32);
    if (!isOs2Version2(f.headerSize)) {
        for (size_t i = 0; i < 4; ++i) f.masks[i] = field(40 + 4 * i);
    }
    in.seek(start + f.headerSize);
    return f;
}

Result<Compression> compressionOf(const RawFields& f, std::string_view format) {
    const bool os2 = isOs2Version2(f.headerSize);
    switch (f.compression) {
        case 0:
            return Compression::None;
        case 1:
            if (f.bitCount == 8) return Compression::Rle8;
            break;
        case 2:
            if (f.bitCount == 4) return Compression::Rle4;
            break;
        case 3:
            if (os2) return unsupportedFeature(format, "Huffman compression");
            if (f.bitCount == 16 || f.bitCount == 32) return Compression::BitFields;
            break;
        case 4:
            if (os2 && f.bitCount == 24) return Compression::Rle24;
            if (!os2) return unsupportedFeature(format, "embedded JPEG");
            break;
        case 5:
            return unsupportedFeature(format, "embedded PNG");
        case 6:
            if (f.bitCount == 16 || f.bitCount == 32) return Compression::BitFields;
            break;
        default:
            return unsupportedFeature(format, "compression " + std::to_string(f.compression));
    }
    return invalidFile(format, "compression does not suit the bit depth");
}

// Masks of bit-field pixels: in the header from version 2 on, else in 12 or
// 16 bytes right after a 40-byte header.
Result<std::array<uint32_t, 4>> readMasks(const RawFields& f, ByteReader& in) {
    const bool bitFields = f.compression == 3 || f.compression == 6;
    if (!bitFields || f.headerSize == kCoreHeader || isOs2Version2(f.headerSize)) {
        if (f.bitCount == 16) return std::array<uint32_t, 4>{0x7C00, 0x03E0, 0x001F, 0};
        return std::array<uint32_t, 4>{0xFF0000, 0x00FF00, 0x0000FF, 0};
    }
    std::array<uint32_t, 4> masks = f.masks;
    if (f.headerSize == kInfoHeader) {
        const size_t count = f.compression == 6 ? 4 : 3;
        for (size_t i = 0; i < count; ++i) masks[i] = in.u32();
        if (count == 3) masks[3] = 0;
        if (in.failed()) return fileTruncated();
    }
    if (f.headerSize == kV2Header) masks[3] = 0;
    return masks;
}

// A metafile's bitmap may hold 16-bit indices into its logical palette.
Pixel logicalColour(uint16_t index, std::span<const Pixel> logical) {
    // Without the palette, an index still tells its entries apart.
    const auto grey = static_cast<uint8_t>(index);
    return index < logical.size() ? logical[index] : rgb(grey, grey, grey);
}

Result<std::vector<Pixel>> readPalette(const RawFields& f, ByteReader& in,
                                       std::optional<uint32_t> fileOffset, const Reading& reading) {
    if (f.bitCount > 8) return std::vector<Pixel>{};
    const size_t full = size_t{1} << f.bitCount;
    const size_t entrySize = reading.paletteIndices ? 2 : f.headerSize == kCoreHeader ? 3 : 4;
    size_t count = f.coloursUsed != 0 ? f.coloursUsed : full;
    if (f.coloursUsed > 65536) return invalidFile(reading.format, "bad palette size");
    // Some writers store fewer colours than the depth allows and say so only
    // through where the pixels start.
    if (fileOffset && *fileOffset > in.position() && f.coloursUsed == 0) {
        count = std::min(count, (*fileOffset - in.position()) / entrySize);
    }
    if (count * entrySize > in.remaining()) return fileTruncated();
    std::vector<Pixel> palette;
    for (size_t i = 0; i < count; ++i) {
        if (reading.paletteIndices) {
            const uint16_t index = in.u16();
            if (i < full) palette.push_back(logicalColour(index, reading.logicalPalette));
            continue;
        }
        const uint8_t b = in.u8();
        const uint8_t g = in.u8();
        const uint8_t r = in.u8();
        if (entrySize == 4) in.skip(1);
        if (i < full) palette.push_back(rgb(r, g, b));
    }
    palette.resize(full, rgb(0, 0, 0));
    return palette;
}

}  // namespace

bool knownHeaderSize(uint32_t size) {
    return size == kCoreHeader || (size >= 16 && size <= kOs2MaxHeader) || size == kV4Header ||
           size >= kV5Header;
}

Result<Header> readHeader(std::span<const uint8_t> bytes, size_t infoOffset,
                          std::optional<uint32_t> fileOffset, uint64_t fileSize,
                          const Reading& reading) {
    const std::string_view format = reading.format;
    ByteReader in(bytes, infoOffset);
    const uint32_t declared = ByteReader(bytes, infoOffset).u32();
    if (!knownHeaderSize(declared) || declared > 4096) {
        return unsupportedFeature(format, "header size " + std::to_string(declared));
    }
    const RawFields f = readFields(in);
    if (in.failed()) return fileTruncated();
    if (f.planes != 1) return invalidFile(format, "plane count is not 1");
    // Embedded JPEG and PNG say so before their depth of 0 would.
    if (f.compression == 5 || (f.compression == 4 && !isOs2Version2(f.headerSize))) {
        return compressionOf(f, format).error();
    }
    if (!validBitCount(f.bitCount)) {
        return unsupportedFeature(format, std::to_string(f.bitCount) + " bits per pixel");
    }

    Header h;
    h.width = f.width;
    h.topDown = f.height < 0;
    h.height = h.topDown ? -f.height : f.height;
    h.bitCount = f.bitCount;
    if (auto fits = checkPictureSize(reading.target, h.width, h.height); !fits) return fits.error();

    auto compression = compressionOf(f, format);
    if (!compression) return compression.error();
    h.compression = *compression;
    const bool runLength = h.compression == Compression::Rle4 ||
                           h.compression == Compression::Rle8 ||
                           h.compression == Compression::Rle24;
    if (runLength && h.topDown) return invalidFile(format, "compressed bitmaps cannot be top-down");

    auto masks = readMasks(f, in);
    if (!masks) return masks.error();
    h.masks = *masks;
    auto palette = readPalette(f, in, fileOffset, reading);
    if (!palette) return palette.error();
    h.palette = std::move(*palette);

    // A file's offset is trusted unless it points into the headers or past the end.
    const size_t headersEnd = infoOffset + f.headerSize;
    const bool offsetUsable = fileOffset && *fileOffset >= headersEnd && *fileOffset < fileSize;
    h.pixelOffset = offsetUsable ? *fileOffset : in.position();
    return h;
}

}  // namespace pictavo::imaging::bmp
