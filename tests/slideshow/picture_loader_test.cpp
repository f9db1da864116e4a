#include "slideshow/picture_loader.h"

#include <gtest/gtest.h>

#include <set>

#include "hosts/headless/headless_host.h"
#include "imaging/picture_decoding.h"
#include "slideshow/slide_window.h"
#include "startup/main.h"
#include "temp_folder.h"
#include "test_pictures.h"

namespace pictavo::slideshow {
namespace {

using imaging::rgb;
using testing::positionPixel;

class IgnoreEvents : public platform::FormHandler {
  public:
    void onEvent(platform::Form&, platform::Event&) override {}
};

// frmSS's staged picture on a screen of the given size, and the decoders.
class Staging : public ::testing::Test {
  protected:
    void useScreen(int width, int height, int64_t colours = 16777216) {
        host.setDecoderSource(testing::ppmDecoders);
        host.screen().setPixels(width, height);
        host.screen().setDisplayColours(colours);
        measureScreen(host.screen(), state);
        state.PicturePath = folder.withSeparator();
        decoders = imaging::pictureDecoders(host.platformDecoders());
        form = host.forms().create(SlideWindow::layout(), handler, nullptr);
        form->control("Picture1")
            .move({0, 0, static_cast<int>(host.screen().widthTwips()),
                   static_cast<int>(host.screen().heightTwips())});
    }

    Result<void> place(const std::string& name) {
        PictureLoader loader(host.screen());
        auto placed = loader.place(*decoders, host.files(), name, form->control("Picture1"), state);
        if (!placed) return placed.error();
        keepPlacedSize(*placed, state);
        return {};
    }

    imaging::Pixel staged(int x, int y) {
        return form->control("Picture1").surface()->snapshot().at(x, y);
    }

    platform::headless::HeadlessHost host;
    SaverState state;
    TempFolder folder;
    IgnoreEvents handler;
    std::shared_ptr<const imaging::DecoderList> decoders;
    std::unique_ptr<platform::Form> form;
};

const imaging::Pixel kBlack = rgb(0, 0, 0);

TEST_F(Staging, APictureOfTheScreensSizeIsTakenAsItIsWhateverStretchSays) {
    for (int16_t stretch : {int16_t{0}, int16_t{1}}) {
        useScreen(640, 480);
        state.Stretch = stretch;
        testing::writeFile(folder.path() / "exact.bmp", testing::ppmBytes(640, 480, positionPixel));
        ASSERT_TRUE(place("exact.bmp").ok());
        EXPECT_EQ(state.ImageWidth, 640);
        EXPECT_EQ(state.ImageHeight, 480);
        EXPECT_EQ(staged(0, 0), positionPixel(0, 0));
        EXPECT_EQ(staged(639, 479), positionPixel(639, 479));
    }
}

TEST_F(Staging, ACentredPictureLandsOnTheEvenNeighbourOfAHalfPixel) {
    useScreen(1024, 768);
    testing::writeFile(folder.path() / "odd.png", testing::ppmBytes(801, 600, positionPixel));
    ASSERT_TRUE(place("odd.png").ok());
    // (1024 - 801) / 2 = 111.5 rounds to 112; (768 - 600) / 2 = 84.
    EXPECT_EQ(staged(111, 84), kBlack);
    EXPECT_EQ(staged(112, 83), kBlack);
    EXPECT_EQ(staged(112, 84), positionPixel(0, 0));
    EXPECT_EQ(staged(912, 683), positionPixel(800, 599));
    EXPECT_EQ(staged(913, 683), kBlack);
    EXPECT_EQ(staged(912, 684), kBlack);
    EXPECT_EQ(state.ImageWidth, 801);
    EXPECT_EQ(state.ImageHeight, 600);
}

TEST_F(Staging, APictureLargerThanTheScreenShowsItsCentre) {
    useScreen(1024, 768);
    testing::writeFile(folder.path() / "big.tga", testing::ppmBytes(2000, 1500, positionPixel));
    ASSERT_TRUE(place("big.tga").ok());
    // x = -488, y = -366.
    EXPECT_EQ(staged(0, 0), positionPixel(488, 366));
    EXPECT_EQ(staged(1023, 767), positionPixel(1511, 1133));
    EXPECT_EQ(state.ImageWidth, 2000);
}

TEST_F(Staging, AStretchedPictureIsReRenderedToTheScreensSize) {
    useScreen(1024, 768);
    state.Stretch = 1;
    testing::writePpm(folder.path() / "big.jpg", 2000, 1500, rgb(200, 30, 60));
    ASSERT_TRUE(place("big.jpg").ok());
    EXPECT_EQ(state.ImageWidth, 1024);
    EXPECT_EQ(state.ImageHeight, 768);
    EXPECT_EQ(staged(0, 0), rgb(200, 30, 60));
    EXPECT_EQ(staged(1023, 767), rgb(200, 30, 60));
}

TEST_F(Staging, ASmallStretchedPictureFillsTheScreen) {
    useScreen(64, 48);
    state.Stretch = 1;
    testing::writePpm(folder.path() / "tiny.pcx", 3, 2, rgb(10, 250, 10));
    ASSERT_TRUE(place("tiny.pcx").ok());
    EXPECT_EQ(state.ImageWidth, 64);
    EXPECT_EQ(state.ImageHeight, 48);
    EXPECT_EQ(staged(63, 47), rgb(10, 250, 10));
}

TEST_F(Staging, TrueColourIsReducedToWhatTheDisplayShows) {
    for (int64_t colours : {16, 256})
        for (int16_t stretch : {int16_t{0}, int16_t{1}}) {
            useScreen(32, 24, colours);
            state.Stretch = stretch;
            // Stretched, the picture is scaled to the screen and still shows only the display's
            // colours.
            const int width = stretch != 0 ? 20 : 32;
            const auto busy = [](int x, int y) {
                auto byte = [](int v) { return static_cast<uint8_t>(v % 256); };
                return rgb(byte(x * 97), byte(y * 151), byte((x + y) * 61));
            };
            testing::writeFile(folder.path() / "photo.jpg",
                               testing::ppmBytes(width, width * 3 / 4, busy));
            ASSERT_TRUE(place("photo.jpg").ok());
            const imaging::Image shown = form->control("Picture1").surface()->snapshot();
            std::set<imaging::Pixel> used(shown.pixels.begin(), shown.pixels.end());
            EXPECT_LE(static_cast<int64_t>(used.size()), colours);
            EXPECT_GT(used.size(), 1u);
        }
}

TEST_F(Staging, AFailingFileLeavesTheStagedPictureAndSizesAsTheyWere) {
    useScreen(64, 48);
    testing::writePpm(folder.path() / "good.bmp", 64, 48, rgb(1, 2, 3));
    ASSERT_TRUE(place("good.bmp").ok());
    testing::writeFile(folder.path() / "bad.bmp", "P6\n64 48\n255\nshort");
    state.ImageWidth = 7;

    auto truncated = place("bad.bmp");
    ASSERT_FALSE(truncated.ok());
    EXPECT_EQ(truncated.error().message, "file is truncated");
    EXPECT_EQ(staged(10, 10), rgb(1, 2, 3));
    EXPECT_EQ(state.ImageWidth, 7);

    auto missing = place("gone.bmp");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().message, "cannot open file: file not found");

    testing::writeFile(folder.path() / "text.jpg", "not a picture at all");
    auto unknown = place("text.jpg");
    ASSERT_FALSE(unknown.ok());
    EXPECT_EQ(unknown.error().message, "unsupported format");
}

TEST(StagedText, TheLinesReadAsTheUserShouldSeeThem) {
    EXPECT_EQ(emptyFolderLine("/home/ann/Pictures/"),
              "No pictures found in /home/ann/Pictures/ !!");
    EXPECT_EQ(loadErrorLine("file is truncated", "C:\\PICS\\", "a.jpg"),
              "file is truncated; C:\\PICS\\a.jpg");
}

TEST(StagedText, EachLineGoesBelowTheLastInTheSizeGiven) {
    platform::MemorySurface surface(400, 300);
    platform::Font font{"MS Sans Serif", 8.25, true};
    printStagedLine(surface, font, kEmptyFolderPoints, "one");
    int afterOne = surface.printY();
    printStagedLine(surface, font, kEmptyFolderPoints, "two");
    EXPECT_GT(afterOne, 0);
    EXPECT_EQ(surface.printY(), 2 * afterOne);
    EXPECT_EQ(font.points, kEmptyFolderPoints);
    printStagedLine(surface, font, kLoadErrorPoints, "three");
    EXPECT_GT(surface.printY() - 2 * afterOne, afterOne);
}

}  // namespace
}  // namespace pictavo::slideshow
