// Writes the pictures pictavo.scr carries as resources, drawn by the
// artwork code: the program icon (pictavo.ico) and the pictures stored with
// two windows (texture.bmp, padlock.bmp). Runs on the build machine.
//
//   artwork_resources OUTPUT_FOLDER

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "artwork/artwork.h"

namespace {

using pictavo::imaging::Image;
using pictavo::imaging::Pixel;

class Bytes {
  public:
    void u8(uint32_t value) { data_.push_back(static_cast<uint8_t>(value)); }
    void u16(uint32_t value) {
        u8(value & 0xFF);
        u8(value >> 8);
    }
    void u32(uint32_t value) {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }
    size_t size() const { return data_.size(); }
    const std::vector<uint8_t>& data() const { return data_; }

  private:
    std::vector<uint8_t> data_;
};

void infoHeader(Bytes& out, const Image& image, int storedHeight, int bits, uint32_t imageBytes) {
    out.u32(40);
    out.u32(static_cast<uint32_t>(image.width));
    out.u32(static_cast<uint32_t>(storedHeight));  // positive: the bottom row first
    out.u16(1);
    out.u16(static_cast<uint32_t>(bits));
    out.u32(0);  // no compression
    out.u32(imageBytes);
    out.u32(2835);  // 72 dots per inch
    out.u32(2835);
    out.u32(0);
    out.u32(0);
}

uint32_t rowBytes(int width, int bits) {
    return static_cast<uint32_t>((width * bits + 31) / 32 * 4);
}

// A 24-bit bitmap file; transparent parts keep the grey they are drawn over.
Bytes bitmapFile(const Image& image) {
    const uint32_t stride = rowBytes(image.width, 24);
    const uint32_t imageBytes = stride * static_cast<uint32_t>(image.height);
    Bytes out;
    out.u8('B');
    out.u8('M');
    out.u32(14 + 40 + imageBytes);
    out.u32(0);
    out.u32(14 + 40);
    infoHeader(out, image, image.height, 24, imageBytes);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            Pixel p = image.at(x, y);
            out.u8(p & 0xFF);
            out.u8((p >> 8) & 0xFF);
            out.u8((p >> 16) & 0xFF);
        }
        for (uint32_t pad = static_cast<uint32_t>(image.width) * 3; pad < stride; ++pad) out.u8(0);
    }
    return out;
}

// An icon file with one 32-bit image and its mask (set where fully transparent).
Bytes iconFile(const Image& image) {
    const uint32_t maskStride = rowBytes(image.width, 1);
    const uint32_t colourBytes = static_cast<uint32_t>(image.width * image.height * 4);
    const uint32_t imageBytes = colourBytes + maskStride * static_cast<uint32_t>(image.height);
    Bytes out;
    out.u16(0);
    out.u16(1);  // an icon
    out.u16(1);  // one image
    out.u8(static_cast<uint32_t>(image.width));
    out.u8(static_cast<uint32_t>(image.height));
    out.u8(0);
    out.u8(0);
    out.u16(1);
    out.u16(32);
    out.u32(40 + imageBytes);
    out.u32(6 + 16);
    infoHeader(out, image, image.height * 2, 32, imageBytes);
    for (int y = image.height - 1; y >= 0; --y)
        for (int x = 0; x < image.width; ++x) out.u32(image.at(x, y));
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskStride, 0);
        for (int x = 0; x < image.width; ++x)
            if ((image.at(x, y) >> 24) == 0) row[static_cast<size_t>(x / 8)] |= 0x80 >> (x % 8);
        for (uint8_t byte : row) out.u8(byte);
    }
    return out;
}

bool write(const std::string& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data().data()),
               static_cast<std::streamsize>(bytes.size()));
    if (file) return true;
    std::fprintf(stderr, "artwork_resources: cannot write %s\n", path.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: artwork_resources OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    using pictavo::artwork::image;
    bool written = write(folder + "/pictavo.ico", iconFile(image("icon"))) &&
                   write(folder + "/texture.bmp", bitmapFile(image("texture"))) &&
                   write(folder + "/padlock.bmp", bitmapFile(image("padlock")));
    return written ? 0 : 1;
}
