#include <gtest/gtest.h>

#include <random>
#include <set>

#include "imaging/colour_reduction.h"
#include "imaging/nearest_colour.h"
#include "reference_images.h"

namespace pictavo::imaging::testing {
namespace {

std::set<Pixel> coloursOf(const Image& image) {
    return {image.pixels.begin(), image.pixels.end()};
}

std::array<double, 3> meanColour(const Image& image) {
    std::array<double, 3> sum{};
    for (Pixel p : image.pixels) {
        sum[0] += red(p);
        sum[1] += green(p);
        sum[2] += blue(p);
    }
    for (double& s : sum) s /= static_cast<double>(image.pixels.size());
    return sum;
}

double meanSquaredError(const Image& a, const Image& b) {
    double total = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        for (int shift : {0, 8, 16}) {
            const double d =
                double((a.pixels[i] >> shift) & 0xFF) - double((b.pixels[i] >> shift) & 0xFF);
            total += d * d;
        }
    }
    return total / static_cast<double>(a.pixels.size() * 3);
}

Image gradient(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.at(x, y) = rgb(uint8_t(10 + x * 230 / width), uint8_t(20 + y * 180 / height),
                                 uint8_t(100 + (x + y) * 50 / (width + height)));
        }
    }
    return image;
}

TEST(Palettes, StandardSixteenAreTheVgaColours) {
    const auto vga = standardPalette16();
    ASSERT_EQ(vga.size(), 16u);
    EXPECT_EQ(vga[0], rgb(0, 0, 0));
    EXPECT_EQ(vga[4], rgb(0, 0, 128));
    EXPECT_EQ(vga[7], rgb(192, 192, 192));
    EXPECT_EQ(vga[8], rgb(128, 128, 128));
    EXPECT_EQ(vga[9], rgb(255, 0, 0));
    EXPECT_EQ(vga[15], rgb(255, 255, 255));
    EXPECT_EQ(std::set<Pixel>(vga.begin(), vga.end()).size(), 16u);
}

TEST(Palettes, FixedPaletteHas256DistinctColoursStartingWithTheSixteen) {
    const auto fixed = fixedPalette256();
    ASSERT_EQ(fixed.size(), 256u);
    EXPECT_EQ(std::set<Pixel>(fixed.begin(), fixed.end()).size(), 256u);
    const auto vga = standardPalette16();
    EXPECT_TRUE(std::equal(vga.begin(), vga.end(), fixed.begin()));
}

TEST(Palettes, AdaptivePaletteKeepsAPicturesOwnFewColours) {
    Image image(40, 30);
    for (size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = rgb(uint8_t(i % 100), 7, uint8_t(i % 100 * 2));
    const auto palette = adaptivePalette(image, 256);
    EXPECT_EQ(std::set<Pixel>(palette.begin(), palette.end()), coloursOf(image));
    Image mapped = image;
    mapToPalette(mapped, palette, Dither::ErrorDiffusion);
    EXPECT_EQ(differences(image, mapped), "");
}

TEST(Reduction, NeverMoreColoursThanAsked) {
    const Image photo = testPattern(320, 200);
    for (int count : {2, 16, 200, 256}) {
        for (Dither dither : {Dither::None, Dither::ErrorDiffusion}) {
            const auto palette = adaptivePalette(photo, count);
            EXPECT_LE(palette.size(), static_cast<size_t>(count));
            Image reduced = photo;
            mapToPalette(reduced, palette, dither);
            EXPECT_LE(coloursOf(reduced).size(), static_cast<size_t>(count)) << count;
        }
    }
}

TEST(Reduction, SixteenColourPicturesStayExact) {
    const auto vga = standardPalette16();
    Image image(64, 48);
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = vga[(i * 7 + i / 64) % 16];
    for (Dither dither : {Dither::None, Dither::ErrorDiffusion}) {
        Image reduced = image;
        mapToPalette(reduced, vga, dither);
        EXPECT_EQ(differences(image, reduced), "");
    }
}

TEST(Reduction, ReducedColoursComeFromThePalette) {
    Image image = gradient(100, 80);
    const auto vga = standardPalette16();
    mapToPalette(image, vga, Dither::ErrorDiffusion);
    for (Pixel p : coloursOf(image)) EXPECT_NE(std::find(vga.begin(), vga.end(), p), vga.end());
}

// A flat grey between two palette greys: the nearest colour turns it all
// into one of them, error diffusion mixes both so that it averages right.
TEST(Reduction, ErrorDiffusionKeepsTheMeanColour) {
    const Image flat(64, 64, rgb(96, 96, 96));
    Image nearest = flat;
    Image dithered = flat;
    const auto vga = standardPalette16();
    mapToPalette(nearest, vga, Dither::None);
    mapToPalette(dithered, vga, Dither::ErrorDiffusion);
    EXPECT_NEAR(meanColour(nearest)[0], 128, 0.01);
    EXPECT_NEAR(meanColour(dithered)[0], 96, 1.0);

    // A colourful gradient on the 16 colours: the nearest colour shifts
    // its mean by about 20 levels; error diffusion stays within a few
    // (saturated colours far from every palette entry still pull it).
    const Image smooth = gradient(256, 128);
    Image plain = smooth;
    Image diffused = smooth;
    mapToPalette(plain, vga, Dither::None);
    mapToPalette(diffused, vga, Dither::ErrorDiffusion);
    const auto truth = meanColour(smooth);
    double plainWorst = 0;
    double diffusedWorst = 0;
    for (size_t c = 0; c < 3; ++c) {
        plainWorst = std::max(plainWorst, std::abs(meanColour(plain)[c] - truth[c]));
        diffusedWorst = std::max(diffusedWorst, std::abs(meanColour(diffused)[c] - truth[c]));
    }
    EXPECT_LT(diffusedWorst, 5.0);
    EXPECT_LT(diffusedWorst, plainWorst / 3);
}

TEST(Reduction, FittedPaletteBeatsTheFixedOneOnARealPhoto) {
    auto photo = readPng(samplesDir() / "hopper.png");
    if (!photo) GTEST_SKIP() << "no samples";
    Image fitted = *photo;
    Image fixed = *photo;
    mapToPalette(fitted, adaptivePalette(*photo, 256), Dither::None);
    mapToPalette(fixed, fixedPalette256(), Dither::None);
    const double fittedError = meanSquaredError(*photo, fitted);
    EXPECT_LT(fittedError, meanSquaredError(*photo, fixed) / 2);
    EXPECT_LT(fittedError, 20.0);  // about 35 dB
}

TEST(NearestColour, AgreesWithAFullSearch) {
    std::mt19937 random(7);
    std::vector<Pixel> palette;
    for (int i = 0; i < 200; ++i) palette.push_back(static_cast<Pixel>(random()) | 0xFF000000u);
    palette.push_back(palette[10]);  // a duplicate: the first one wins
    NearestColour nearest(palette);
    for (int i = 0; i < 20000; ++i) {
        const auto p = static_cast<Pixel>(random());
        int best = 0;
        int bestDistance = 1 << 30;
        for (size_t j = 0; j < palette.size(); ++j) {
            const int dr = red(p) - red(palette[j]), dg = green(p) - green(palette[j]),
                      db = blue(p) - blue(palette[j]);
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = static_cast<int>(j);
            }
        }
        ASSERT_EQ(nearest.find(red(p), green(p), blue(p)), best) << std::hex << p;
    }
}

}  // namespace
}  // namespace pictavo::imaging::testing
