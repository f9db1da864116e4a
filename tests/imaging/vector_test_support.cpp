#include "vector_test_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace pictavo::imaging::testing {

namespace {

int grey(Pixel p) {
    return (red(p) * 30 + green(p) * 59 + blue(p) * 11) / 100;
}

}  // namespace

std::filesystem::path samplesDirectory() {
    if (const char* overridden = std::getenv("PICTAVO_SAMPLES_DIR"); overridden && *overridden) {
        return overridden;
    }
    return PICTAVO_SAMPLES_DIR;
}

std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

bool haveTool(const std::string& name) {
    return run("command -v " + name + " >/dev/null 2>&1");
}

bool run(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

Image readPpm(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    // Header fields separated by white space, with "#" comments between them.
    auto field = [&in]() {
        std::string token;
        while (in >> token && token.starts_with('#')) {
            std::string rest;
            std::getline(in, rest);
        }
        return token;
    };
    const std::string magic = field();
    const int width = std::atoi(field().c_str());
    const int height = std::atoi(field().c_str());
    const int maximum = std::atoi(field().c_str());
    in.get();
    if (magic != "P6" || width <= 0 || height <= 0 || maximum != 255) return {};
    Image image(width, height);
    std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        in.read(reinterpret_cast<char*>(row.data()), static_cast<std::streamsize>(row.size()));
        for (int x = 0; x < width; ++x) {
            const size_t i = static_cast<size_t>(x) * 3;
            image.at(x, y) = rgb(row[i], row[i + 1], row[i + 2]);
        }
    }
    return in ? image : Image{};
}

void writePpm(const std::filesystem::path& path, const Image& image) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << image.width << ' ' << image.height << "\n255\n";
    for (const Pixel p : image.pixels) {
        const char bytes[3] = {static_cast<char>(red(p)), static_cast<char>(green(p)),
                               static_cast<char>(blue(p))};
        out.write(bytes, 3);
    }
}

Image readWithGraphicsMagick(const std::filesystem::path& path) {
    const std::filesystem::path ppm = path.string() + ".ppm";
    if (!run("gm convert '" + path.string() + "' -flatten -depth 8 '" + ppm.string() +
             "' 2>/dev/null")) {
        return {};
    }
    return readPpm(ppm);
}

Image scaleTo(const Image& image, int width, int height) {
    Image scaled(width, height);
    if (image.empty()) return scaled;
    const double sx = static_cast<double>(image.width) / width;
    const double sy = static_cast<double>(image.height) / height;
    for (int y = 0; y < height; ++y) {
        const int y0 = static_cast<int>(y * sy);
        const int y1 = std::max(y0 + 1, std::min(image.height, static_cast<int>((y + 1) * sy)));
        for (int x = 0; x < width; ++x) {
            const int x0 = static_cast<int>(x * sx);
            const int x1 = std::max(x0 + 1, std::min(image.width, static_cast<int>((x + 1) * sx)));
            uint64_t r = 0, g = 0, b = 0, n = 0;
            for (int yy = y0; yy < y1; ++yy) {
                for (int xx = x0; xx < x1; ++xx) {
                    const Pixel p = image.at(xx, yy);
                    r += red(p);
                    g += green(p);
                    b += blue(p);
                    ++n;
                }
            }
            scaled.at(x, y) = rgb(static_cast<uint8_t>(r / n), static_cast<uint8_t>(g / n),
                                  static_cast<uint8_t>(b / n));
        }
    }
    return scaled;
}

Image cropToInk(const Image& image, Pixel page) {
    int left = image.width, top = image.height, right = -1, bottom = -1;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const Pixel p = image.at(x, y);
            const int difference =
                std::max({std::abs(red(p) - red(page)), std::abs(green(p) - green(page)),
                          std::abs(blue(p) - blue(page))});
            if (difference <= 32) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return image;
    Image cropped(right - left + 1, bottom - top + 1);
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) cropped.at(x - left, y - top) = image.at(x, y);
    }
    return cropped;
}

double meanGreyDifference(const Image& a, const Image& b) {
    if (a.width != b.width || a.height != b.height || a.empty()) return 255;
    double sum = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i)
        sum += std::abs(grey(a.pixels[i]) - grey(b.pixels[i]));
    return sum / static_cast<double>(a.pixels.size());
}

double inkCoverage(const Image& image, Pixel page) {
    if (image.empty()) return 0;
    size_t inked = 0;
    for (const Pixel p : image.pixels) {
        const int difference =
            std::max({std::abs(red(p) - red(page)), std::abs(green(p) - green(page)),
                      std::abs(blue(p) - blue(page))});
        if (difference > 32) ++inked;
    }
    return static_cast<double>(inked) / static_cast<double>(image.pixels.size());
}

Pixel cornerColour(const Image& image) {
    return image.empty() ? 0 : image.at(0, 0);
}

}  // namespace pictavo::imaging::testing
