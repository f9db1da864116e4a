// Pictures bigger than any decoded whole may be, staged by pictavo-render
// slide (the show's own path) on a 1920 x 1080 screen, stretched and
// centred: each is shown, within 160 MB of resident memory, and what is
// shown is the picture's formula averaged over each screen pixel (or, centred,
// the formula at the screen's window), within a few levels. A panorama of
// 30000 x 4000 pixels (JPEG) and an interlaced PNG of 17000 x 4000, whose
// passes come in any order; the benchmark bench_big_pictures has the rest.

#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "gradient_pictures.h"
#include "limited_run.h"
#include "temp_folder.h"

namespace pictavo::staging {
namespace {

#ifndef PICTAVO_STAGING_LIMITS
#define PICTAVO_STAGING_LIMITS 1
#endif

constexpr bool kCheckMemory = PICTAVO_STAGING_LIMITS != 0;
constexpr uint64_t kPeakBytes = 160'000'000;
constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

struct Rgb {
    std::vector<uint8_t> bytes;  // R, G, B
    int width = 0;
    int height = 0;
};

Rgb readPng(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Rgb rgb;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return rgb;
    image.format = PNG_FORMAT_RGB;
    rgb.bytes.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, rgb.bytes.data(), 0, nullptr)) {
        rgb.width = static_cast<int>(image.width);
        rgb.height = static_cast<int>(image.height);
    }
    return rgb;
}

struct Comparison {
    int largest = 0;
    double mean = 0;
};

// The staged picture against what the screen should show at each pixel.
Comparison compare(const Rgb& staged, const std::function<Colour(int x, int y)>& expected) {
    Comparison result;
    double sum = 0;
    for (int y = 0; y < staged.height; ++y) {
        for (int x = 0; x < staged.width; ++x) {
            const Colour want = expected(x, y);
            const uint8_t* got = &staged.bytes[(static_cast<size_t>(y) * staged.width + x) * 3];
            const double wanted[3] = {want.red, want.green, want.blue};
            for (int c = 0; c < 3; ++c) {
                const double difference = std::abs(got[c] - wanted[c]);
                result.largest =
                    std::max(result.largest, static_cast<int>(std::lround(difference)));
                sum += difference;
            }
        }
    }
    result.mean = sum / (3.0 * staged.width * staged.height);
    return result;
}

// largest: how many levels a pixel may be off: the filter's rounding, and for
// a JPEG its compression too.
void stageBothWays(const std::filesystem::path& picture, int width, int height, int largest) {
    for (const bool stretch : {true, false}) {
        const auto out = picture.parent_path() / (stretch ? "stretched.png" : "centred.png");
        std::vector<std::string> command = {PICTAVO_RENDER, "slide", picture.string(), "--size",
                                            "1920x1080",    "--out", out.string()};
        if (stretch) command.push_back("--stretch");
        hostile::Limits limits;
        limits.wallSeconds = 120;  // guards against "never"; the benchmark times it
        const hostile::RunResult run = hostile::runLimited(command, limits);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        if (kCheckMemory) {
            EXPECT_LT(run.peakRssBytes, kPeakBytes) << picture;
        }

        const Rgb staged = readPng(out.string());
        ASSERT_EQ(staged.width, kScreenWidth);
        ASSERT_EQ(staged.height, kScreenHeight);
        const double across = static_cast<double>(width) / kScreenWidth;
        const double down = static_cast<double>(height) / kScreenHeight;
        // Centred, the screen shows the window (w - 1920) / 2, (h - 1080) / 2 on.
        const int left = (width - kScreenWidth) / 2;
        const int top = (height - kScreenHeight) / 2;
        const Comparison seen = compare(staged, [&](int x, int y) {
            if (!stretch) return gradientAt(left + x, top + y, width, height);
            return gradientOver(x * across, y * down, (x + 1) * across, (y + 1) * down, width,
                                height);
        });
        std::printf(
            "%s, %s: %.2f s processor, %.0f MB peak, %d levels off at most, %.2f on average\n",
            picture.filename().c_str(), stretch ? "stretched" : "centred", run.cpuSeconds,
            static_cast<double>(run.peakRssBytes) / 1e6, seen.largest, seen.mean);
        EXPECT_LE(seen.largest, largest) << picture << (stretch ? " stretched" : " centred");
        EXPECT_LE(seen.mean, 1.0) << picture << (stretch ? " stretched" : " centred");
    }
}

TEST(BigPictures, APanoramaOf120MegapixelsIsShownInBoundedMemory) {
    TempFolder folder;
    const auto picture = folder.path() / "panorama.jpg";
    writeGradientJpeg(picture, 30000, 4000);
    stageBothWays(picture, 30000, 4000, 6);
}

TEST(BigPictures, AnInterlacedPngIsScaledFromItsPassesInBoundedMemory) {
    TempFolder folder;
    const auto picture = folder.path() / "interlaced.png";
    writeGradientPng(picture, 17000, 4000, true);
    stageBothWays(picture, 17000, 4000, 2);
}

}  // namespace
}  // namespace pictavo::staging
