#include "slideshow/preview_form.h"

#include <gtest/gtest.h>

#include <set>

#include "hosts/headless/headless_host.h"
#include "startup/main.h"
#include "temp_folder.h"
#include "test_pictures.h"

namespace pictavo::slideshow {
namespace {

using imaging::rgb;

// The display settings' preview window (152 x 112 pixels) and a preview in it.
struct PreviewFixture {
    PreviewFixture() {
        host.setDecoderSource(testing::ppmDecoders);
        measureScreen(host.screen(), state);
        state.PicturePath = folder.withSeparator();
        state.Interval = 0;
        previewWindow = host.windows().createWindow("", 152, 112, false);
        state.PreviewWindow = static_cast<int32_t>(previewWindow);
    }
    void addPicture(const std::string& name, imaging::Pixel colour) const {
        testing::writePpm(folder.path() / name, 30, 20, colour);
    }
    PreviewForm& load() {
        preview = std::make_unique<PreviewForm>(host, state);
        preview->load();
        return *preview;
    }
    platform::Form& form() { return *preview->form(); }
    platform::Control& picture1() { return form().control("Picture1"); }
    imaging::Pixel centre() { return picture1().surface()->snapshot().at(76, 56); }
    bool ended() { return host.eventLoop().endRequested(); }
    // LastPictureIndex after each of n seconds.
    std::vector<int> indicesOver(int seconds) {
        std::vector<int> seen;
        for (int i = 0; i < seconds; ++i) {
            host.eventLoop().runFor(1000);
            seen.push_back(state.LastPictureIndex.value_or(-1));
        }
        return seen;
    }

    platform::headless::HeadlessHost host;
    SaverState state;
    TempFolder folder;
    platform::WindowHandle previewWindow = 0;
    std::unique_ptr<PreviewForm> preview;
};

TEST(PreviewForm, LivesHiddenInsideThePreviewWindowAndFillsIt) {
    PreviewFixture preview;
    preview.load();
    auto* form = preview.host.forms().find("ControlForm");
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->visible());
    EXPECT_EQ(preview.host.windows().parentOf(preview.picture1().handle()), preview.previewWindow);
    EXPECT_EQ(preview.picture1().surface()->width(), 152);
    EXPECT_EQ(preview.picture1().surface()->height(), 112);
    EXPECT_EQ(preview.form().control("Timer1").interval(), 1000);
    EXPECT_TRUE(preview.state.PreviewActive);
}

TEST(PreviewForm, FollowsItsWindowsSizeAtTheNextTick) {
    PreviewFixture preview;
    preview.addPicture("a.bmp", imaging::rgb(0, 200, 0));
    preview.load();
    preview.host.windows().setSize(preview.previewWindow, 300, 200);
    preview.host.eventLoop().runFor(1000);
    EXPECT_EQ(preview.picture1().surface()->width(), 300);
    EXPECT_EQ(preview.picture1().surface()->height(), 200);
    preview.host.eventLoop().runFor(1000);
    // The picture (30 x 20) is scaled into the new size: 300 x 200 fills it all.
    imaging::Image shown = preview.picture1().surface()->snapshot();
    EXPECT_EQ(shown.at(5, 5), imaging::rgb(0, 200, 0));
    EXPECT_EQ(shown.at(295, 195), imaging::rgb(0, 200, 0));
}

TEST(PreviewForm, TheFirstPictureComesAtTickIntervalPlusOneThenEveryIntervalPlusOne) {
    PreviewFixture preview;
    preview.addPicture("a.bmp", rgb(250, 0, 0));
    preview.addPicture("b.bmp", rgb(0, 250, 0));
    preview.state.Interval = 10;
    preview.load();
    auto seen = preview.indicesOver(23);
    for (int second = 1; second <= 10; ++second) EXPECT_EQ(seen[second - 1], -1) << second;
    EXPECT_NE(seen[10], -1);
    for (int second = 12; second <= 21; ++second) EXPECT_EQ(seen[second - 1], seen[10]) << second;
    EXPECT_NE(seen[21], seen[10]);
    EXPECT_NE(preview.centre(), rgb(0, 0, 0));
}

TEST(PreviewForm, ShowsThePictureScaledIntoTheWindow) {
    PreviewFixture preview;
    preview.addPicture("only.png", rgb(0, 0, 250));
    preview.load();
    preview.host.eventLoop().runFor(1000);
    auto image = preview.picture1().surface()->snapshot();
    // 30 x 20 scaled to 152 x 101, centred: black bands above and below.
    EXPECT_EQ(image.at(0, 0), rgb(0, 0, 0));
    EXPECT_EQ(image.at(0, 56), rgb(0, 0, 250));
    EXPECT_EQ(image.at(151, 56), rgb(0, 0, 250));
    EXPECT_EQ(image.at(76, 111), rgb(0, 0, 0));
}

TEST(PreviewForm, OnePictureIsShownAgainAndAFailingOneLeavesThePreviousOnDisplay) {
    PreviewFixture preview;
    preview.addPicture("only.png", rgb(0, 0, 250));
    preview.load();
    EXPECT_EQ(preview.indicesOver(3), (std::vector<int>{0, 0, 0}));
    testing::writeFile(preview.folder.path() / "only.png", "P6\n30 20\n255\ncut");
    preview.host.eventLoop().runFor(2000);
    EXPECT_EQ(preview.centre(), rgb(0, 0, 250));
    EXPECT_FALSE(preview.ended());
}

TEST(PreviewForm, AnEmptyFolderShowsNothing) {
    PreviewFixture preview;
    preview.load();
    preview.host.eventLoop().runFor(5000);
    auto image = preview.picture1().surface()->snapshot();
    EXPECT_EQ(std::count(image.pixels.begin(), image.pixels.end(), rgb(0, 0, 0)),
              static_cast<long>(image.pixels.size()));
    EXPECT_FALSE(preview.state.LastPictureIndex.has_value());
}

TEST(PreviewForm, EndsAtTheFirstTickWhenTheWindowNeverExisted) {
    PreviewFixture preview;
    preview.state.PreviewWindow = 999999;
    preview.load();
    preview.host.eventLoop().runFor(999);
    EXPECT_FALSE(preview.ended());
    preview.host.eventLoop().run();
    EXPECT_TRUE(preview.ended());
    EXPECT_EQ(preview.host.clock().nowMillis(), 1000);
    EXPECT_EQ(preview.preview->form(), nullptr);
}

TEST(PreviewForm, EndsWithinOneTickOfItsWindowsEnd) {
    PreviewFixture preview;
    preview.addPicture("a.bmp", rgb(250, 0, 0));
    preview.load();
    preview.host.eventLoop().runFor(3500);
    preview.host.windows().destroyWindow(preview.previewWindow);
    preview.host.eventLoop().run();
    EXPECT_TRUE(preview.ended());
    EXPECT_EQ(preview.host.clock().nowMillis(), 4000);
}

TEST(PreviewForm, WmCloseTakesThePictureBackAndEndsAtTheNextTick) {
    PreviewFixture preview;
    preview.load();
    preview.host.eventLoop().runFor(2200);
    platform::WindowHandle picture = preview.picture1().handle();
    preview.host.windows().sendClose(picture);
    EXPECT_EQ(preview.host.windows().parentOf(picture), preview.form().handle());
    EXPECT_FALSE(preview.state.PreviewActive);
    preview.host.eventLoop().run();
    EXPECT_TRUE(preview.ended());
    EXPECT_EQ(preview.host.clock().nowMillis(), 3000);
}

TEST(PreviewForm, TwoPreviewsMakeTheSameChoices) {
    auto sequence = [] {
        PreviewFixture preview;
        for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp"})
            preview.addPicture(name, rgb(9, 9, 9));
        preview.load();
        return preview.indicesOver(40);
    };
    auto first = sequence();
    EXPECT_EQ(first, sequence());
    EXPECT_GE(std::set<int>(first.begin(), first.end()).size(), 4u);
}

}  // namespace
}  // namespace pictavo::slideshow
