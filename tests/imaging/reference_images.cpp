#include "reference_images.h"

#if PICTAVO_TEST_LIBPNG
#include <png.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace pictavo::imaging::testing {

namespace fs = std::filesystem;

fs::path samplesDir() {
    return PICTAVO_SAMPLES_DIR;
}

std::vector<uint8_t> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

#if PICTAVO_TEST_LIBPNG
bool canReadPng() {
    return true;
}

std::optional<Image> readPng(const fs::path& path) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return std::nullopt;
    png.format = PNG_FORMAT_BGRA;  // byte order of 0xAARRGGBB on a little-endian machine
    Image image(static_cast<int>(png.width), static_cast<int>(png.height));
    if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) return std::nullopt;
    return image;
}
#else
bool canReadPng() {
    return false;
}

std::optional<Image> readPng(const fs::path&) {
    return std::nullopt;
}
#endif

namespace {

std::string nextToken(std::istream& in) {
    std::string token;
    while (in >> token) {
        if (token[0] != '#') return token;
        std::string rest;
        std::getline(in, rest);
    }
    return {};
}

}  // namespace

std::optional<Image> readNetpbm(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string magic = nextToken(in);
    int width = 0, height = 0, depth = 0, maxval = 0;
    if (magic == "P4") {  // bitmap: 1 is black, rows padded to bytes
        width = std::stoi(nextToken(in));
        height = std::stoi(nextToken(in));
        in.get();
        Image image(width, height);
        std::vector<uint8_t> row(static_cast<size_t>((width + 7) / 8));
        for (int y = 0; y < height; ++y) {
            in.read(reinterpret_cast<char*>(row.data()), static_cast<std::streamsize>(row.size()));
            if (!in) return std::nullopt;
            for (int x = 0; x < width; ++x) {
                const bool black = (row[static_cast<size_t>(x / 8)] >> (7 - x % 8)) & 1;
                image.at(x, y) = black ? rgb(0, 0, 0) : rgb(255, 255, 255);
            }
        }
        return image;
    }
    if (magic == "P5" || magic == "P6") {
        width = std::stoi(nextToken(in));
        height = std::stoi(nextToken(in));
        maxval = std::stoi(nextToken(in));
        depth = magic == "P5" ? 1 : 3;
    } else if (magic == "P7") {
        for (std::string key = nextToken(in); key != "ENDHDR" && !key.empty();
             key = nextToken(in)) {
            const std::string value = nextToken(in);
            if (key == "WIDTH") width = std::stoi(value);
            if (key == "HEIGHT") height = std::stoi(value);
            if (key == "DEPTH") depth = std::stoi(value);
            if (key == "MAXVAL") maxval = std::stoi(value);
            if (key == "TUPLTYPE") continue;
        }
    } else {
        return std::nullopt;
    }
    in.get();  // the one white-space byte before the samples
    if (maxval <= 0 || maxval > 255 || depth < 1 || depth > 4) return std::nullopt;
    Image image(width, height);
    std::vector<uint8_t> row(static_cast<size_t>(width * depth));
    for (int y = 0; y < height; ++y) {
        in.read(reinterpret_cast<char*>(row.data()), static_cast<std::streamsize>(row.size()));
        if (!in) return std::nullopt;
        for (int x = 0; x < width; ++x) {
            uint8_t s[4] = {0, 0, 0, 255};
            for (int c = 0; c < depth; ++c) {
                s[c] = static_cast<uint8_t>(row[static_cast<size_t>(x * depth + c)] * 255 / maxval);
            }
            const bool grey = depth <= 2;
            const uint8_t alpha = depth == 2 ? s[1] : depth == 4 ? s[3] : 255;
            const Pixel colour = grey ? rgb(s[0], s[0], s[0]) : rgb(s[0], s[1], s[2]);
            image.at(x, y) = (uint32_t{alpha} << 24) | (colour & 0x00FFFFFFu);
        }
    }
    return image;
}

void writePpm(const fs::path& path, const Image& image) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << image.width << ' ' << image.height << "\n255\n";
    for (Pixel p : image.pixels) {
        const char c[3] = {static_cast<char>(red(p)), static_cast<char>(green(p)),
                           static_cast<char>(blue(p))};
        out.write(c, 3);
    }
}

bool run(const std::string& command) {
    return std::system(("( " + command + " ) >/dev/null 2>&1").c_str()) == 0;
}

bool toolAvailable(const std::string& tool) {
    return run("command -v " + tool);
}

TempDir::TempDir() {
    std::random_device random;
    path_ = fs::temp_directory_path() / ("pictavo-imaging-" + std::to_string(random()));
    fs::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::optional<Image> readWithGraphicsMagick(const std::string& source, const TempDir& temp) {
    // PNG, because gm writes bilevel PAM files packed, which no reader takes.
    const auto out = temp / "gm-reading.png";
    fs::remove(out);
    if (!run("gm convert '" + source + "' 'png32:" + out.string() + "'")) return std::nullopt;
    if (canReadPng()) return readPng(out);
    // Without libpng, Netpbm turns the PNG into a PAM file with its alpha.
    const auto pam = temp / "gm-reading.pam";
    if (!run("pngtopam -alphapam '" + out.string() + "' > '" + pam.string() + "'"))
        return std::nullopt;
    return readNetpbm(pam);
}

std::optional<Image> readWithNetpbm(const std::string& tool, const fs::path& file,
                                    const TempDir& temp) {
    const auto out = temp / "netpbm-reading.pnm";
    if (!run(tool + " '" + file.string() + "' > '" + out.string() + "'")) return std::nullopt;
    return readNetpbm(out);
}

namespace {

bool close(Pixel a, Pixel b, Tolerance tolerance) {
    const int channels = tolerance.ignoreAlpha ? 3 : 4;
    for (int c = 0; c < channels; ++c) {
        const int difference = std::abs(int((a >> (8 * c)) & 0xFF) - int((b >> (8 * c)) & 0xFF));
        if (difference > tolerance.perChannel) return false;
    }
    return true;
}

}  // namespace

std::string differences(const Image& expected, const Image& actual, Tolerance tolerance) {
    std::ostringstream out;
    if (expected.width != actual.width || expected.height != actual.height) {
        out << "size " << actual.width << " x " << actual.height << ", expected " << expected.width
            << " x " << expected.height;
        return out.str();
    }
    int count = 0;
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            if (close(expected.at(x, y), actual.at(x, y), tolerance)) continue;
            if (count++ == 0) {
                out << "first at (" << x << ", " << y << "): 0x" << std::hex << actual.at(x, y)
                    << ", expected 0x" << expected.at(x, y) << std::dec;
            }
        }
    }
    if (count > 0) out << "; " << count << " pixels differ";
    return out.str();
}

Image testPattern(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.at(x, y) = rgb(static_cast<uint8_t>(x * 255 / std::max(width - 1, 1)),
                                 static_cast<uint8_t>(y * 255 / std::max(height - 1, 1)),
                                 static_cast<uint8_t>((x * 7 + y * 13) & 0xFF));
        }
    }
    return image;
}

}  // namespace pictavo::imaging::testing
