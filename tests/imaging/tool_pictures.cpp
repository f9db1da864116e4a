#include "imaging/tool_pictures.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "imaging/source_pictures.h"

namespace pictavo::imaging::testing {

std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::optional<std::filesystem::path> sample(const std::string& relative) {
    std::filesystem::path path = std::filesystem::path(PICTAVO_SAMPLES_DIR) / relative;
    if (!std::filesystem::exists(path)) return std::nullopt;
    return path;
}

bool run(const std::string& command) {
    return std::system((command + " 2>/dev/null").c_str()) == 0;
}

bool haveTool(const std::string& name) {
    return run("command -v " + name + " >/dev/null");
}

namespace {

int readNumber(std::istream& in) {
    int value = 0;
    in >> std::ws;
    while (in.peek() == '#') {
        std::string comment;
        std::getline(in, comment);
        in >> std::ws;
    }
    in >> value;
    return value;
}

}  // namespace

Image readPnm(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    in >> magic;
    const int width = readNumber(in);
    const int height = readNumber(in);
    const int maxValue = magic == "P4" ? 1 : readNumber(in);
    in.get();  // the single blank before the samples
    Image image(width, height);
    if (!in || width <= 0 || height <= 0) return Image{};
    auto sampleAt = [&]() -> int {
        int value = in.get();
        if (maxValue > 255) value = (value << 8) | in.get();
        return (value * 255 + maxValue / 2) / maxValue;
    };
    for (int y = 0; y < height; ++y) {
        if (magic == "P4") {
            std::vector<char> row(static_cast<size_t>((width + 7) / 8));
            in.read(row.data(), static_cast<std::streamsize>(row.size()));
            for (int x = 0; x < width; ++x) {
                const bool black = (row[static_cast<size_t>(x / 8)] >> (7 - x % 8)) & 1;
                image.at(x, y) = black ? rgb(0, 0, 0) : rgb(255, 255, 255);
            }
            continue;
        }
        for (int x = 0; x < width; ++x) {
            const auto r = static_cast<uint8_t>(sampleAt());
            if (magic == "P5") {
                image.at(x, y) = rgb(r, r, r);
                continue;
            }
            const auto g = static_cast<uint8_t>(sampleAt());
            const auto b = static_cast<uint8_t>(sampleAt());
            image.at(x, y) = rgb(r, g, b);
        }
    }
    return in ? image : Image{};
}

void writePpm(const std::filesystem::path& path, const Image& image) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << image.width << " " << image.height << "\n255\n";
    for (Pixel p : image.pixels) {
        const char rgbBytes[3] = {static_cast<char>(red(p)), static_cast<char>(green(p)),
                                  static_cast<char>(blue(p))};
        out.write(rgbBytes, 3);
    }
}

Image testPattern(int width, int height) {
    return wavePattern(width, height);
}

Image crop(const Image& image, int x, int y, int width, int height) {
    Image part(width, height);
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) part.at(col, row) = image.at(x + col, y + row);
    }
    return part;
}

int maxDifference(const Image& a, const Image& b) {
    if (a.width != b.width || a.height != b.height) return INT_MAX;
    int worst = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        worst = std::max({worst, std::abs(red(a.pixels[i]) - red(b.pixels[i])),
                          std::abs(green(a.pixels[i]) - green(b.pixels[i])),
                          std::abs(blue(a.pixels[i]) - blue(b.pixels[i]))});
    }
    return worst;
}

double meanDifference(const Image& a, const Image& b) {
    if (a.width != b.width || a.height != b.height || a.pixels.empty()) return 1e9;
    double sum = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        sum += std::abs(red(a.pixels[i]) - red(b.pixels[i])) +
               std::abs(green(a.pixels[i]) - green(b.pixels[i])) +
               std::abs(blue(a.pixels[i]) - blue(b.pixels[i]));
    }
    return sum / (3.0 * static_cast<double>(a.pixels.size()));
}

Result<Image> decodeBytes(const Decoder& decoder, const std::vector<uint8_t>& bytes,
                          const std::string& fileName, const Target& target) {
    DecodeRequest request;
    request.bytes = bytes;
    request.fileName = fileName;
    request.target = target;
    return decoder.decode(request);
}

void ScratchFolderTest::SetUp() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "-" + test->name();
    std::replace(name.begin(), name.end(), '/', '_');
    folder_ = std::filesystem::temp_directory_path() /
              ("pictavo-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::create_directories(folder_);
}

void ScratchFolderTest::TearDown() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

}  // namespace pictavo::imaging::testing
