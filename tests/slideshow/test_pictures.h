#pragma once
// Pictures for the slide show tests: a tiny PPM (P6) decoder injected as a
// platform decoder, and writers for such files, so the tests depend on no
// real picture format.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "imaging/decoder.h"
#include "imaging/image.h"

namespace pictavo::testing {

class PpmDecoder : public imaging::Decoder {
  public:
    std::string_view name() const override { return "PPM"; }
    imaging::Confidence sniff(std::span<const uint8_t> bytes, std::string_view) const override {
        return bytes.size() >= 2 && bytes[0] == 'P' && bytes[1] == '6' ? imaging::Confidence::Strong
                                                                       : imaging::Confidence::None;
    }
    Result<imaging::Image> decode(const imaging::DecodeRequest& request) const override {
        std::string_view text(reinterpret_cast<const char*>(request.bytes.data()),
                              request.bytes.size());
        size_t at = 2;
        long values[3] = {};
        for (long& value : values) {
            while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
            size_t start = at;
            while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
            if (start == at) return makeError("invalid PPM file: bad header");
            value = std::stol(std::string(text.substr(start, at - start)));
        }
        ++at;  // the one blank after the maximum
        if (values[0] <= 0 || values[1] <= 0 || values[0] > 16384 || values[1] > 16384 ||
            values[2] != 255)
            return makeError("invalid PPM file: bad header");
        size_t count = static_cast<size_t>(values[0]) * static_cast<size_t>(values[1]);
        if (text.size() < at + count * 3) return makeError("file is truncated");
        imaging::Image image(static_cast<int>(values[0]), static_cast<int>(values[1]));
        for (size_t i = 0; i < image.pixels.size(); ++i)
            image.pixels[i] = imaging::rgb(request.bytes[at + 3 * i], request.bytes[at + 3 * i + 1],
                                           request.bytes[at + 3 * i + 2]);
        return image;
    }
};

inline imaging::DecoderList ppmDecoders() {
    imaging::DecoderList list;
    list.push_back(std::make_unique<PpmDecoder>());
    return list;
}

using PixelAt = std::function<imaging::Pixel(int x, int y)>;

inline std::string ppmBytes(int width, int height, const PixelAt& pixel) {
    std::string bytes = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    bytes.reserve(bytes.size() + static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            imaging::Pixel p = pixel(x, y);
            bytes += static_cast<char>(imaging::red(p));
            bytes += static_cast<char>(imaging::green(p));
            bytes += static_cast<char>(imaging::blue(p));
        }
    return bytes;
}

inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline void writePpm(const std::filesystem::path& path, int width, int height,
                     imaging::Pixel colour) {
    writeFile(path, ppmBytes(width, height, [colour](int, int) { return colour; }));
}

// Each pixel tells where it came from: red and green are x and y modulo 256,
// blue is x / 256 + 16 * (y / 256).
inline imaging::Pixel positionPixel(int x, int y) {
    return imaging::rgb(static_cast<uint8_t>(x & 255), static_cast<uint8_t>(y & 255),
                        static_cast<uint8_t>((x >> 8) + 16 * (y >> 8)));
}

}  // namespace pictavo::testing
