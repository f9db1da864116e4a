#include "app/render/slide_png.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <vector>

namespace pictavo::render {

namespace {

using Bytes = std::vector<uint8_t>;

const std::array<uint32_t, 256>& crcTable() {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0xFFFFFFFFu) {
    for (size_t i = 0; i < size; ++i) crc = crcTable()[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc;
}

void putBigEndian(Bytes& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void putChunk(Bytes& out, const char* type, const Bytes& data) {
    putBigEndian(out, static_cast<uint32_t>(data.size()));
    size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBigEndian(out, crc32(out.data() + typeAt, out.size() - typeAt) ^ 0xFFFFFFFFu);
}

// The rows with their filter byte, as a zlib stream of stored blocks.
Bytes storedZlib(const Bytes& raw) {
    constexpr size_t kMostPerBlock = 65535;
    Bytes out{0x78, 0x01};
    size_t at = 0;
    do {
        size_t length = std::min(kMostPerBlock, raw.size() - at);
        bool last = at + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<uint8_t>(length));
        out.push_back(static_cast<uint8_t>(length >> 8));
        out.push_back(static_cast<uint8_t>(~length));
        out.push_back(static_cast<uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                   raw.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    putBigEndian(out, (b << 16) | a);
    return out;
}

}  // namespace

Result<void> writeSlidePng(const imaging::Image& image, const std::string& path) {
    if (image.empty()) return makeError("cannot write " + path + ": the picture is empty");
    Bytes raw;
    raw.reserve(static_cast<size_t>(image.height) * (static_cast<size_t>(image.width) * 3 + 1));
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < image.width; ++x) {
            imaging::Pixel p = image.at(x, y);
            raw.insert(raw.end(), {imaging::red(p), imaging::green(p), imaging::blue(p)});
        }
    }
    Bytes header;
    putBigEndian(header, static_cast<uint32_t>(image.width));
    putBigEndian(header, static_cast<uint32_t>(image.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace

    Bytes file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    putChunk(file, "IHDR", header);
    putChunk(file, "IDAT", storedZlib(raw));
    putChunk(file, "IEND", {});

    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    if (!out.flush()) return makeError("cannot write " + path);
    return {};
}

}  // namespace pictavo::render
