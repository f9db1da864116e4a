#include "app/render/png_writer.h"

#include <png.h>

#include <cstring>
#include <vector>

namespace pictavo::render {

Result<void> writePng(const std::string& path, const imaging::Image& image) {
    if (image.empty()) return makeError("cannot write '" + path + "': the picture is empty");
    std::vector<png_byte> rgb(static_cast<size_t>(image.width) * static_cast<size_t>(image.height) *
                              3);
    png_byte* out = rgb.data();
    for (imaging::Pixel p : image.pixels) {
        *out++ = imaging::red(p);
        *out++ = imaging::green(p);
        *out++ = imaging::blue(p);
    }
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&png, path.c_str(), 0, rgb.data(), 0, nullptr)) {
        std::string reason = png.message;
        png_image_free(&png);
        return makeError("cannot write '" + path + "': " + reason);
    }
    return {};
}

}  // namespace pictavo::render
