#include "imaging/decoders/wpg_common.h"

#include <algorithm>
#include <vector>

#include "imaging/errors.h"
#include "imaging/vector/picture_size.h"

namespace pictavo::imaging::wpg {

uint32_t readLength(ByteReader& in) {
    const uint8_t first = in.u8();
    if (first != 0xFF) return first;
    const uint16_t second = in.u16();
    if (!(second & 0x8000)) return second;
    return (uint32_t{second & 0x7FFFu} << 16) | in.u16();
}

std::array<Pixel, 256> defaultPalette() {
    std::array<Pixel, 256> palette{};
    constexpr uint8_t kEga[16][3] = {
        {0, 0, 0},     {0, 0, 168},    {0, 168, 0},    {0, 168, 168},
        {168, 0, 0},   {168, 0, 168},  {168, 84, 0},   {168, 168, 168},
        {84, 84, 84},  {84, 84, 252},  {84, 252, 84},  {84, 252, 252},
        {252, 84, 84}, {252, 84, 252}, {252, 252, 84}, {252, 252, 252}};
    for (size_t i = 0; i < 16; ++i) palette[i] = rgb(kEga[i][0], kEga[i][1], kEga[i][2]);
    constexpr uint8_t kGreys[16] = {0,   20,  32,  44,  56,  68,  80,  96,
                                    112, 128, 144, 160, 180, 200, 224, 252};
    for (size_t i = 0; i < 16; ++i) palette[16 + i] = rgb(kGreys[i], kGreys[i], kGreys[i]);
    // Nine rings of 24 hues: three brightnesses, each fully, half and a
    // quarter saturated. Each ring steps through these five levels.
    constexpr uint8_t kRings[9][5] = {
        {0, 64, 124, 188, 252}, {124, 156, 188, 220, 252}, {180, 196, 208, 224, 252},
        {0, 28, 56, 84, 112},   {56, 68, 84, 96, 112},     {80, 88, 96, 104, 112},
        {0, 16, 32, 48, 64},    {32, 40, 48, 56, 64},      {44, 48, 52, 60, 64}};
    size_t index = 32;
    for (const auto& ring : kRings) {
        const uint8_t low = ring[0];
        const uint8_t high = ring[4];
        // Blue to magenta to red to yellow to green to cyan and back to blue:
        // each sixth raises or lowers one channel in four steps.
        uint8_t channel[3] = {low, low, high};
        const int order[6][2] = {{0, +1}, {2, -1}, {1, +1}, {0, -1}, {2, +1}, {1, -1}};
        for (const auto& [which, direction] : order) {
            for (int step = 0; step < 4; ++step) {
                palette[index++] = rgb(channel[0], channel[1], channel[2]);
                const int level = direction > 0 ? step + 1 : 3 - step;
                channel[which] = ring[level];
            }
        }
    }
    for (; index < 256; ++index) palette[index] = rgb(0, 0, 0);
    return palette;
}

std::vector<uint8_t> expandRuns(std::span<const uint8_t> data, size_t rowBytes, size_t rows) {
    const size_t total = rowBytes * rows;
    std::vector<uint8_t> out;
    out.reserve(total);
    ByteReader in(data);
    while (out.size() < total && !in.atEnd()) {
        const uint8_t code = in.u8();
        const size_t count = code & 0x7F;
        if (code & 0x80) {
            // A run of one byte, or (count 0) a run of white.
            const size_t repeat = count == 0 ? in.u8() : count;
            const uint8_t value = count == 0 ? 0xFF : in.u8();
            out.insert(out.end(), std::min(repeat, total - out.size()), value);
        } else if (count == 0) {
            // Repeat the last whole row n times.
            const size_t times = in.u8();
            if (rowBytes == 0 || out.size() < rowBytes) break;
            const size_t start = (out.size() / rowBytes - 1) * rowBytes;
            for (size_t t = 0; t < times && out.size() + rowBytes <= total; ++t) {
                out.insert(out.end(), out.begin() + static_cast<long>(start),
                           out.begin() + static_cast<long>(start + rowBytes));
            }
        } else {
            const auto literal = in.take(std::min(count, in.remaining()));
            out.insert(
                out.end(), literal.begin(),
                literal.begin() + static_cast<long>(std::min(literal.size(), total - out.size())));
        }
        if (in.failed()) break;
    }
    out.resize(total, 0);
    return out;
}

Result<Image> indexedBitmap(std::span<const uint8_t> rows, int width, int height, int bits,
                            const std::array<Pixel, 256>& palette) {
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8) {
        return unsupportedFeature("WPG", std::to_string(bits) + " bits per pixel");
    }
    auto image = vector::blankPicture({width, height}, rgb(0, 0, 0));
    if (!image) return image.error();
    const size_t rowBytes = (static_cast<size_t>(width) * static_cast<size_t>(bits) + 7) / 8;
    for (int y = 0; y < height; ++y) {
        const size_t rowStart = static_cast<size_t>(y) * rowBytes;
        if (rowStart + rowBytes > rows.size()) break;
        for (int x = 0; x < width; ++x) {
            const size_t bit = static_cast<size_t>(x) * static_cast<size_t>(bits);
            const uint8_t byte = rows[rowStart + bit / 8];
            const int shift = 8 - bits - static_cast<int>(bit % 8);
            const uint8_t index = static_cast<uint8_t>((byte >> shift) & ((1 << bits) - 1));
            // One-bit pictures are black and white whatever the palette says.
            image->at(x, y) =
                bits == 1 ? (index ? rgb(255, 255, 255) : rgb(0, 0, 0)) : palette[index];
        }
    }
    image->sourceBits = bits;
    return image;
}

}  // namespace pictavo::imaging::wpg
