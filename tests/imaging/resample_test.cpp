#include <gtest/gtest.h>

#include <random>

#include "imaging/resample.h"
#include "reference_images.h"

namespace pictavo::imaging::testing {
namespace {

Image resampled(const Image& source, int width, int height) {
    auto result = resample(source, width, height);
    EXPECT_TRUE(result.ok()) << result.error().message;
    return result ? std::move(result).value() : Image();
}

TEST(Resample, GivesTheAskedSize) {
    const Image source = testPattern(37, 23);
    for (auto [w, h] : {std::pair{10, 5}, std::pair{100, 7}, std::pair{1, 1}, std::pair{37, 60}}) {
        const Image out = resampled(source, w, h);
        EXPECT_EQ(out.width, w);
        EXPECT_EQ(out.height, h);
        EXPECT_EQ(out.pixels.size(), size_t(w) * size_t(h));
    }
}

TEST(Resample, FlatColourStaysExactlyFlat) {
    const Pixel colour = 0xFF123456u;
    const Image flat(301, 199, colour);
    for (auto [w, h] :
         {std::pair{97, 61}, std::pair{640, 480}, std::pair{1000, 50}, std::pair{7, 3}}) {
        const Image out = resampled(flat, w, h);
        EXPECT_EQ(std::count(out.pixels.begin(), out.pixels.end(), colour), std::ptrdiff_t(w) * h)
            << w << "x" << h;
    }
}

TEST(Resample, HalvingAveragesPairs) {
    Image ramp(64, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 64; ++x) ramp.at(x, y) = rgb(uint8_t(4 * x), 0, 0);
    }
    const Image half = resampled(ramp, 32, 3);
    for (int x = 0; x < 32; ++x) EXPECT_EQ(red(half.at(x, 1)), 8 * x + 2) << x;
}

TEST(Resample, ShrinkingAveragesEachBlock) {
    std::mt19937 random(3);
    Image noise(300, 200);
    for (Pixel& p : noise.pixels) p = static_cast<Pixel>(random()) | 0xFF000000u;
    const Image small = resampled(noise, 100, 50);  // blocks of 3 x 4
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 100; ++x) {
            double sum = 0;
            for (int dy = 0; dy < 4; ++dy) {
                for (int dx = 0; dx < 3; ++dx) sum += green(noise.at(3 * x + dx, 4 * y + dy));
            }
            ASSERT_NEAR(green(small.at(x, y)), sum / 12, 1.0) << x << "," << y;
        }
    }
}

TEST(Resample, GrowingInterpolatesBetweenPixelCentres) {
    Image three(3, 1);
    three.at(0, 0) = rgb(0, 0, 0);
    three.at(1, 0) = rgb(100, 0, 0);
    three.at(2, 0) = rgb(200, 0, 0);
    const Image six = resampled(three, 6, 1);
    const int expected[] = {0, 25, 75, 125, 175, 200};
    for (int x = 0; x < 6; ++x) EXPECT_EQ(red(six.at(x, 0)), expected[x]) << x;
}

TEST(Resample, EachAxisUsesItsOwnFilter) {
    Image source(4, 2);
    for (int x = 0; x < 4; ++x) {
        source.at(x, 0) = rgb(uint8_t(x * 40), 0, 0);
        source.at(x, 1) = rgb(uint8_t(x * 40), 0, 80);
    }
    const Image out = resampled(source, 2, 4);  // narrower and taller
    EXPECT_EQ(red(out.at(0, 0)), 20);
    EXPECT_EQ(red(out.at(1, 3)), 100);
    EXPECT_EQ(blue(out.at(0, 0)), 0);
    EXPECT_EQ(blue(out.at(0, 1)), 20);
    EXPECT_EQ(blue(out.at(0, 2)), 60);
    EXPECT_EQ(blue(out.at(0, 3)), 80);
}

TEST(Resample, RefusesSizesPastTheCaps) {
    const Image source(10, 10);
    EXPECT_EQ(resample(source, 0, 10).error().message, "invalid picture size: 0 x 10");
    EXPECT_EQ(resample(source, 20000, 10).error().message, "picture too large: 20000 x 10");
    EXPECT_FALSE(resample(Image(), 10, 10).ok());
}

}  // namespace
}  // namespace pictavo::imaging::testing
