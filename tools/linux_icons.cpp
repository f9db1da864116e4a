// Writes the program icon, drawn by the artwork code, into a folder laid
// out as the desktop's hicolor icon theme: a PNG file for each size asked
// for (SIZExSIZE/apps/pictavo.png) and the picture as SVG
// (scalable/apps/pictavo.svg), one square per pixel, so it scales without
// losing its pixels' edges.
//
//   linux_icons OUTPUT_FOLDER SIZE...

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "artwork/artwork.h"

namespace {

using pictavo::imaging::Image;
using pictavo::imaging::Pixel;

uint8_t alphaOf(Pixel p) {
    return static_cast<uint8_t>(p >> 24);
}

// How much of the source span [from, from + 1) of one target pixel, in
// source pixels, falls on source pixel s.
double overlap(double from, double scale, int s) {
    double start = std::max(from, static_cast<double>(s));
    double end = std::min(from + scale, static_cast<double>(s + 1));
    return end > start ? end - start : 0;
}

// Each target pixel is the average of the source area under it, colours
// weighted by their alpha: whole multiples keep every pixel square and
// sharp, other sizes blend only where pixels meet.
Image scaled(const Image& source, int size) {
    Image target(size, size, 0);
    const double scale = static_cast<double>(source.width) / size;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double sums[4] = {0, 0, 0, 0};  // alpha-weighted red, green, blue; alpha
            for (int sy = static_cast<int>(y * scale); sy < source.height && sy < (y + 1) * scale;
                 ++sy) {
                for (int sx = static_cast<int>(x * scale);
                     sx < source.width && sx < (x + 1) * scale; ++sx) {
                    double weight = overlap(x * scale, scale, sx) * overlap(y * scale, scale, sy);
                    Pixel p = source.at(sx, sy);
                    double alpha = alphaOf(p) * weight;
                    sums[0] += ((p >> 16) & 0xFF) * alpha;
                    sums[1] += ((p >> 8) & 0xFF) * alpha;
                    sums[2] += (p & 0xFF) * alpha;
                    sums[3] += alpha;
                }
            }
            if (sums[3] <= 0) continue;
            auto channel = [&](double value) { return static_cast<Pixel>(value + 0.5) & 0xFF; };
            target.at(x, y) = channel(sums[3] / (scale * scale)) << 24 |
                              channel(sums[0] / sums[3]) << 16 | channel(sums[1] / sums[3]) << 8 |
                              channel(sums[2] / sums[3]);
        }
    }
    return target;
}

bool writePng(const std::filesystem::path& path, const Image& image) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    // Made before libpng may jump back over it.
    std::vector<png_byte> row(static_cast<size_t>(image.width) * 4);
    bool written = false;
    if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                     static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                Pixel p = image.at(x, y);
                png_byte* out = &row[static_cast<size_t>(x) * 4];
                out[0] = static_cast<png_byte>(p >> 16);
                out[1] = static_cast<png_byte>(p >> 8);
                out[2] = static_cast<png_byte>(p);
                out[3] = alphaOf(p);
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && written;
}

// One rectangle per run of equal opaque pixels in a row.
std::string svgOf(const Image& image) {
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      std::to_string(image.width) + "\" height=\"" + std::to_string(image.height) +
                      "\" viewBox=\"0 0 " + std::to_string(image.width) + " " +
                      std::to_string(image.height) + "\" shape-rendering=\"crispEdges\">\n";
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width;) {
            const Pixel p = image.at(x, y);
            int end = x + 1;
            while (end < image.width && image.at(end, y) == p) ++end;
            if (alphaOf(p) != 0) {
                char colour[8];
                std::snprintf(colour, sizeof colour, "#%06X", p & 0xFFFFFFu);
                svg += "<rect x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) +
                       "\" width=\"" + std::to_string(end - x) + "\" height=\"1\" fill=\"" +
                       colour + "\"/>\n";
            }
            x = end;
        }
    }
    return svg + "</svg>\n";
}

bool writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: linux_icons OUTPUT_FOLDER SIZE...\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const Image icon = pictavo::artwork::image("icon");
    std::error_code error;
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path apps = folder / name / "apps";
        std::filesystem::create_directories(apps, error);
        if (size < 1 || size > 1024 || !writePng(apps / "pictavo.png", scaled(icon, size))) {
            std::fprintf(stderr, "linux_icons: cannot write the %s icon into %s\n", argv[i],
                         apps.c_str());
            return 1;
        }
    }
    const std::filesystem::path scalable = folder / "scalable" / "apps";
    std::filesystem::create_directories(scalable, error);
    if (!writeText(scalable / "pictavo.svg", svgOf(icon))) {
        std::fprintf(stderr, "linux_icons: cannot write %s\n", (scalable / "pictavo.svg").c_str());
        return 1;
    }
    return 0;
}
