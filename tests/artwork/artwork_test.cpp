#include "artwork/artwork.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace pictavo::artwork {
namespace {

using imaging::Image;
using imaging::Pixel;

int channelDistance(Pixel a, Pixel b) {
    return std::abs(imaging::red(a) - imaging::red(b)) +
           std::abs(imaging::green(a) - imaging::green(b)) +
           std::abs(imaging::blue(a) - imaging::blue(b));
}

std::set<Pixel> colours(const Image& image) {
    return {image.pixels.begin(), image.pixels.end()};
}

TEST(Artwork, PicturesHaveTheirSizesAndUnknownNamesAreEmpty) {
    struct Expected {
        const char* name;
        int width, height;
    };
    for (auto [name, width, height] :
         {Expected{"texture", 48, 48}, Expected{"icon", 32, 32}, Expected{"padlock", 46, 51}}) {
        Image picture = image(name);
        EXPECT_EQ(picture.width, width) << name;
        EXPECT_EQ(picture.height, height) << name;
        EXPECT_EQ(picture.pixels.size(), static_cast<size_t>(width * height)) << name;
    }
    EXPECT_TRUE(image("").empty());
    EXPECT_TRUE(image("Texture").empty());
    EXPECT_TRUE(image("splash").empty());
}

TEST(Artwork, PicturesAreTheSameEveryTime) {
    for (const char* name : {"texture", "icon", "padlock"})
        EXPECT_EQ(image(name).pixels, image(name).pixels);
}

TEST(Artwork, TextureTilesWithoutASeam) {
    Image texture = image("texture");
    // The step from the last column to the first (and the last row to the
    // first) must look like any other step inside the tile.
    int inside = 0, across = 0;
    for (int i = 0; i < 48; ++i)
        for (int k = 0; k + 1 < 48; ++k) {
            inside = std::max({inside, channelDistance(texture.at(k, i), texture.at(k + 1, i)),
                               channelDistance(texture.at(i, k), texture.at(i, k + 1))});
        }
    for (int i = 0; i < 48; ++i)
        across = std::max({across, channelDistance(texture.at(47, i), texture.at(0, i)),
                           channelDistance(texture.at(i, 47), texture.at(i, 0))});
    EXPECT_LE(across, inside);
}

TEST(Artwork, TextureIsQuietAndFitsAPalette) {
    Image texture = image("texture");
    std::set<Pixel> used = colours(texture);
    EXPECT_GT(used.size(), 8u);
    EXPECT_LE(used.size(), 256u);
    for (Pixel p : used) {
        EXPECT_EQ(p >> 24, 0xFFu);
        // Close to the dialogs' grey, so the captions stay readable on it.
        EXPECT_LE(channelDistance(p, imaging::rgb(192, 192, 192)), 3 * 20);
    }
}

TEST(Artwork, IconAndPadlockUseOnlyTheSixteenColours) {
    const std::set<Pixel> palette = {
        imaging::rgb(0, 0, 0),      imaging::rgb(0, 0, 128),     imaging::rgb(0, 128, 0),
        imaging::rgb(0, 128, 128),  imaging::rgb(128, 0, 0),     imaging::rgb(128, 0, 128),
        imaging::rgb(128, 128, 0),  imaging::rgb(192, 192, 192), imaging::rgb(128, 128, 128),
        imaging::rgb(0, 0, 255),    imaging::rgb(0, 255, 0),     imaging::rgb(0, 255, 255),
        imaging::rgb(255, 0, 0),    imaging::rgb(255, 0, 255),   imaging::rgb(255, 255, 0),
        imaging::rgb(255, 255, 255)};
    for (const char* name : {"icon", "padlock"}) {
        Image picture = image(name);
        size_t opaque = 0;
        for (Pixel p : picture.pixels) {
            if (p >> 24 == 0) {
                EXPECT_EQ(p, 0x00C0C0C0u) << name;  // transparent over the dialogs' grey
                continue;
            }
            ++opaque;
            EXPECT_TRUE(palette.contains(p)) << name << " uses " << std::hex << p;
        }
        // Transparent corners, a drawn middle.
        EXPECT_EQ(picture.at(0, 0) >> 24, 0u) << name;
        EXPECT_EQ(picture.at(picture.width - 1, 0) >> 24, 0u) << name;
        EXPECT_GT(opaque, picture.pixels.size() / 2) << name;
    }
}

TEST(Artwork, IconScreenLiesWhereTheAboutBoxDrawsItsOwn) {
    // The about box lays its little screen over pixels 5..26 x 5..21 of the
    // icon; the monitor's frame must surround exactly that area.
    Image icon = image("icon");
    const Pixel frame = icon.at(4, 10);
    for (int y = 5; y <= 21; ++y) {
        EXPECT_NE(icon.at(5, y), icon.at(4, y));
        EXPECT_NE(icon.at(26, y), icon.at(27, y));
    }
    EXPECT_EQ(icon.at(4, 5), frame);
    EXPECT_NE(icon.at(15, 22), icon.at(15, 21));
}

}  // namespace
}  // namespace pictavo::artwork
