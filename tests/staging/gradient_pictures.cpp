#include "gradient_pictures.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on
#include <png.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace pictavo::staging {

namespace {

constexpr double kTau = 2 * std::numbers::pi;

uint8_t toByte(double value) {
    return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

// The rows of the picture as 8-bit R, G, B: the waves along x are worked
// out once per column, so that a row costs a few operations a pixel.
class RowMaker {
  public:
    RowMaker(int width, int height) : width_(width), height_(height) {
        for (int x = 0; x < width; ++x) {
            const double u = static_cast<double>(x) / width;
            red_.push_back(gradientAt(x, 0, width, height).red);
            sinU_.push_back(std::sin(kTau * u));
            cosU_.push_back(std::cos(kTau * u));
        }
        row_.resize(static_cast<size_t>(width) * 3);
    }

    // sin(tau (u + v)) = sin(tau u) cos(tau v) + cos(tau u) sin(tau v).
    const std::vector<uint8_t>& row(int y) {
        const double v = static_cast<double>(y) / height_;
        const uint8_t green = toByte(gradientAt(0, y, width_, height_).green);
        const double sinV = std::sin(kTau * v);
        const double cosV = std::cos(kTau * v);
        for (size_t x = 0; x < static_cast<size_t>(width_); ++x) {
            row_[x * 3] = toByte(red_[x]);
            row_[x * 3 + 1] = green;
            row_[x * 3 + 2] = toByte(128 + 80 * (sinU_[x] * cosV + cosU_[x] * sinV));
        }
        return row_;
    }
    uint8_t* data() { return row_.data(); }

  private:
    int width_;
    int height_;
    std::vector<double> red_;
    std::vector<double> sinU_;
    std::vector<double> cosU_;
    std::vector<uint8_t> row_;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::unique_ptr<std::FILE, FileCloser> openForWriting(const std::filesystem::path& path) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) throw std::runtime_error("cannot write " + path.string());
    return file;
}

}  // namespace

Colour gradientAt(double x, double y, int width, int height) {
    const double u = x / width;
    const double v = y / height;
    return {128 + 100 * std::sin(kTau * 2 * u + 0.3), 128 + 100 * std::cos(kTau * 1.5 * v),
            128 + 80 * std::sin(kTau * (u + v))};
}

Colour gradientOver(double left, double top, double right, double bottom, int width, int height) {
    // The waves are smooth: a few samples per side integrate them well.
    constexpr int kSamples = 6;
    Colour sum;
    for (int j = 0; j < kSamples; ++j) {
        for (int i = 0; i < kSamples; ++i) {
            // Pixel (x, y) holds the colour at x, y: its centre is x + 0.5.
            const double x = left + (right - left) * (i + 0.5) / kSamples - 0.5;
            const double y = top + (bottom - top) * (j + 0.5) / kSamples - 0.5;
            const Colour c = gradientAt(x, y, width, height);
            sum.red += c.red;
            sum.green += c.green;
            sum.blue += c.blue;
        }
    }
    constexpr double n = kSamples * kSamples;
    return {sum.red / n, sum.green / n, sum.blue / n};
}

void writeGradientJpeg(const std::filesystem::path& path, int width, int height) {
    auto file = openForWriting(path);
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file.get());
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    RowMaker rows(width, height);
    JSAMPROW row[1] = {rows.data()};
    for (int y = 0; y < height; ++y) {
        rows.row(y);
        jpeg_write_scanlines(&cinfo, row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
}

void writeGradientPng(const std::filesystem::path& path, int width, int height, bool interlaced) {
    auto file = openForWriting(path);
    // Made before the jump point: libpng's errors jump over nothing to destroy.
    RowMaker rows(width, height);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("cannot write " + path.string());
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass) {
        // libpng takes every row in every pass and keeps the pass's part.
        for (int y = 0; y < height; ++y) {
            const bool inPass =
                !interlaced ||
                (y - PNG_PASS_START_ROW(pass)) % (1 << PNG_PASS_ROW_SHIFT(pass)) == 0;
            png_write_row(png, inPass ? rows.row(y).data() : rows.data());
        }
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
}

}  // namespace pictavo::staging
