#include "bmp_writer.h"

namespace pictavo::imaging::testing {

namespace {

void put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

std::vector<uint8_t> headers(int32_t width, int32_t height, bool withAlpha, uint32_t pixelBytes) {
    const uint32_t infoSize = withAlpha ? 124 : 40;
    std::vector<uint8_t> out = {'B', 'M'};
    put32(out, 14 + infoSize + pixelBytes);
    put32(out, 0);
    put32(out, 14 + infoSize);
    put32(out, infoSize);
    put32(out, static_cast<uint32_t>(width));
    put32(out, static_cast<uint32_t>(height));
    put16(out, 1);
    put16(out, withAlpha ? 32 : 24);
    put32(out, withAlpha ? 3 : 0);  // BI_BITFIELDS : BI_RGB
    put32(out, pixelBytes);
    for (int i = 0; i < 4; ++i) put32(out, 0);
    if (withAlpha) {
        for (uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) put32(out, mask);
        out.resize(14 + infoSize, 0);
    }
    return out;
}

}  // namespace

std::vector<uint8_t> bitmapFile(const Image& image, bool withAlpha) {
    const uint32_t stride = withAlpha ? static_cast<uint32_t>(image.width) * 4
                                      : (static_cast<uint32_t>(image.width) * 3 + 3) / 4 * 4;
    auto out =
        headers(image.width, image.height, withAlpha, stride * static_cast<uint32_t>(image.height));
    for (int y = image.height - 1; y >= 0; --y) {
        const size_t rowStart = out.size();
        for (int x = 0; x < image.width; ++x) {
            const Pixel p = image.at(x, y);
            out.insert(out.end(), {blue(p), green(p), red(p)});
            if (withAlpha) out.push_back(static_cast<uint8_t>(p >> 24));
        }
        out.resize(rowStart + stride, 0);
    }
    return out;
}

std::vector<uint8_t> bitmapHeaderClaiming(int32_t width, int32_t height) {
    return headers(width, height, false, 0);
}

}  // namespace pictavo::imaging::testing
