#include "app/render/png_reader.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace pictavo::render {

namespace {

// libpng's own messages for a missing file or another format say little.
Result<void> checkSignature(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return makeError(std::strerror(errno));
    png_byte signature[8] = {};
    const size_t read = std::fread(signature, 1, sizeof signature, file);
    std::fclose(file);
    if (read != sizeof signature || png_sig_cmp(signature, 0, sizeof signature) != 0)
        return makeError("not a PNG file");
    return {};
}

}  // namespace

Result<imaging::Image> readPng(const std::string& path, int maxSide) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    auto fail = [&](const std::string& reason) {
        png_image_free(&png);
        return makeError("cannot read '" + path + "': " + reason);
    };
    if (auto signature = checkSignature(path); !signature) return fail(signature.error().message);
    if (!png_image_begin_read_from_file(&png, path.c_str())) return fail(png.message);
    if (png.width == 0 || png.height == 0 || png.width > static_cast<png_uint_32>(maxSide) ||
        png.height > static_cast<png_uint_32>(maxSide))
        return fail("the picture is " + std::to_string(png.width) + "x" +
                    std::to_string(png.height) + ", larger than " + std::to_string(maxSide) +
                    " on a side");
    png.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(png));
    png_color black{0, 0, 0};
    if (!png_image_finish_read(&png, &black, rgb.data(), 0, nullptr)) return fail(png.message);

    imaging::Image image(static_cast<int>(png.width), static_cast<int>(png.height));
    const png_byte* in = rgb.data();
    for (imaging::Pixel& p : image.pixels) {
        p = imaging::rgb(in[0], in[1], in[2]);
        in += 3;
    }
    png_image_free(&png);
    return image;
}

}  // namespace pictavo::render
