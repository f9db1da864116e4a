#include "imaging/decoders/packed_dib.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "imaging/byte_reader.h"
#include "imaging/errors.h"
#include "imaging/limits.h"
#include "imaging/vector/picture_size.h"
#include "imaging/work_costs.h"

namespace pictavo::imaging {

namespace {

constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;

struct DibHeader {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bits = 0;
    uint32_t compression = kRgb;
    uint32_t colours = 0;
    uint32_t masks[3] = {0, 0, 0};
};

// Scales a masked channel to 8 bits.
uint8_t channel(uint32_t value, uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const int width = std::popcount(mask);
    const uint32_t raw = (value & mask) >> shift;
    const uint32_t top = (uint32_t{1} << width) - 1;
    return static_cast<uint8_t>((raw * 255 + top / 2) / top);
}

Result<std::vector<Pixel>> readColourTable(ByteReader& in, const DibHeader& header, bool core,
                                           bool paletteIndices, std::span<const Pixel> logical) {
    std::vector<Pixel> table;
    if (header.bits > 8) return table;
    const uint32_t count = header.colours != 0 ? std::min<uint32_t>(header.colours, 256)
                                               : (uint32_t{1} << header.bits);
    for (uint32_t i = 0; i < count; ++i) {
        if (paletteIndices) {
            const uint16_t index = in.u16();
            // Without the palette, an index still tells its entries apart.
            const auto grey = static_cast<uint8_t>(index);
            table.push_back(index < logical.size() ? logical[index] : rgb(grey, grey, grey));
            continue;
        }
        const uint8_t b = in.u8();
        const uint8_t g = in.u8();
        const uint8_t r = in.u8();
        if (!core) in.u8();
        table.push_back(rgb(r, g, b));
    }
    if (in.failed()) return fileTruncated();
    return table;
}

Pixel fromTable(const std::vector<Pixel>& table, uint32_t index) {
    return index < table.size() ? table[index] : rgb(0, 0, 0);
}

void readRows(ByteReader& in, const DibHeader& header, const std::vector<Pixel>& table,
              Image& image) {
    const size_t stride = ((static_cast<size_t>(header.width) * header.bits + 31) / 32) * 4;
    for (int row = 0; row < header.height; ++row) {
        const auto bytes = in.take(stride);
        if (bytes.empty()) return;  // a short bitmap keeps its missing rows black
        const int y = header.topDown ? row : header.height - 1 - row;
        for (int x = 0; x < header.width; ++x) {
            const auto ux = static_cast<size_t>(x);
            Pixel pixel = rgb(0, 0, 0);
            switch (header.bits) {
                case 1:
                    pixel = fromTable(table, (bytes[ux / 8] >> (7 - ux % 8)) & 1);
                    break;
                case 4:
                    pixel = fromTable(table, (bytes[ux / 2] >> (ux % 2 ? 0 : 4)) & 0xF);
                    break;
                case 8:
                    pixel = fromTable(table, bytes[ux]);
                    break;
                case 16: {
                    const uint32_t value = bytes[ux * 2] | (uint32_t{bytes[ux * 2 + 1]} << 8);
                    pixel = rgb(channel(value, header.masks[0]), channel(value, header.masks[1]),
                                channel(value, header.masks[2]));
                    break;
                }
                case 24:
                    pixel = rgb(bytes[ux * 3 + 2], bytes[ux * 3 + 1], bytes[ux * 3]);
                    break;
                case 32: {
                    const uint32_t value = bytes[ux * 4] | (uint32_t{bytes[ux * 4 + 1]} << 8) |
                                           (uint32_t{bytes[ux * 4 + 2]} << 16) |
                                           (uint32_t{bytes[ux * 4 + 3]} << 24);
                    pixel = rgb(channel(value, header.masks[0]), channel(value, header.masks[1]),
                                channel(value, header.masks[2]));
                    break;
                }
                default:
                    break;
            }
            image.at(x, y) = pixel;
        }
    }
}

// Run-length rows (RLE8 and RLE4): runs, literal runs, end of line, end of
// bitmap and position jumps. Pixels the runs skip stay as the first colour.
void readRunLengthRows(ByteReader& in, const DibHeader& header, const std::vector<Pixel>& table,
                       Image& image) {
    const bool four = header.compression == kRle4;
    int x = 0;
    int row = 0;
    auto put = [&](uint32_t index) {
        if (x < header.width && row < header.height) {
            const int y = header.topDown ? row : header.height - 1 - row;
            image.at(x, y) = fromTable(table, index);
        }
        ++x;
    };
    while (!in.atEnd() && row < header.height) {
        const uint8_t count = in.u8();
        const uint8_t value = in.u8();
        if (in.failed()) return;
        if (count > 0) {
            for (int i = 0; i < count; ++i) put(four ? (i % 2 ? value & 0xF : value >> 4) : value);
            continue;
        }
        if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            x += in.u8();
            row += in.u8();
        } else {
            const size_t bytes = four ? (value + 1u) / 2 : value;
            const auto literal = in.take(bytes);
            if (literal.empty()) return;
            for (int i = 0; i < value; ++i) {
                const uint8_t byte = literal[static_cast<size_t>(four ? i / 2 : i)];
                put(four ? (i % 2 ? byte & 0xF : byte >> 4) : byte);
            }
            if (bytes % 2) in.skip(1);
        }
    }
}

}  // namespace

Result<Image> decodePackedDib(std::span<const uint8_t> bytes, bool paletteIndices,
                              std::span<const Pixel> logicalPalette, int64_t maxPixels,
                              WorkMeter* work) {
    ByteReader in(bytes);
    const uint32_t headerSize = in.u32();
    DibHeader header;
    const bool core = headerSize == 12;
    if (core) {
        header.width = in.u16();
        header.height = in.u16();
        in.u16();
        header.bits = in.u16();
    } else {
        if (headerSize < 40 || headerSize > bytes.size())
            return invalidFile("DIB", "bad header size");
        header.width = in.i32();
        const int32_t height = in.i32();
        in.u16();
        header.bits = in.u16();
        header.compression = in.u32();
        in.skip(12);
        header.colours = in.u32();
        in.seek(headerSize);
        header.topDown = height < 0;
        header.height = height == INT32_MIN ? 0 : std::abs(height);
    }
    if (in.failed()) return fileTruncated();
    if (auto size = checkPictureSize(header.width, header.height); !size) return size.error();
    const int64_t pixels = int64_t{header.width} * header.height;
    if (pixels > maxPixels) {
        return makeError("picture too large: " + std::to_string(header.width) + " x " +
                         std::to_string(header.height));
    }
    if (work != nullptr && !work->spend(cost::kBitmapPixel * pixels)) return work->stopError();
    switch (header.bits) {
        case 1:
        case 4:
        case 8:
        case 24:
            break;
        case 16:
            header.masks[0] = 0x7C00;
            header.masks[1] = 0x03E0;
            header.masks[2] = 0x001F;
            break;
        case 32:
            header.masks[0] = 0xFF0000;
            header.masks[1] = 0xFF00;
            header.masks[2] = 0xFF;
            break;
        default:
            return unsupportedFeature("DIB", std::to_string(header.bits) + " bits per pixel");
    }
    if (header.compression == kBitFields && (header.bits == 16 || header.bits == 32)) {
        // The masks follow a 40-byte header; larger headers hold them inside.
        ByteReader masks(bytes, 40);
        for (uint32_t& mask : header.masks) mask = masks.u32();
        if (headerSize == 40) in.skip(12);
    } else if (header.compression != kRgb && !(header.compression == kRle8 && header.bits == 8) &&
               !(header.compression == kRle4 && header.bits == 4)) {
        return unsupportedFeature("DIB", "compression " + std::to_string(header.compression));
    }
    auto table = readColourTable(in, header, core, paletteIndices, logicalPalette);
    if (!table) return table.error();
    // Uncompressed rows must be there before room is made for them: a few
    // bytes must not make us set aside a quarter of a gigabyte.
    const bool runLength = header.compression == kRle8 || header.compression == kRle4;
    const uint64_t stride =
        (static_cast<uint64_t>(header.width) * static_cast<uint64_t>(header.bits) + 31) / 32 * 4;
    if (!runLength && stride * static_cast<uint64_t>(header.height) > in.remaining())
        return fileTruncated();
    auto image = vector::blankPicture({header.width, header.height},
                                      table->empty() ? rgb(0, 0, 0) : table->front());
    if (!image) return image.error();
    image->sourceBits = header.bits;
    if (runLength) {
        readRunLengthRows(in, header, *table, *image);
    } else {
        readRows(in, header, *table, *image);
    }
    return image;
}

}  // namespace pictavo::imaging
