#include "startup/placeholder_windows.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_host.h"

namespace pictavo::startup {
namespace {

class PlaceholderPreviewTest : public ::testing::Test {
  protected:
    PlaceholderPreviewTest() {
        state.PreviewWindow =
            static_cast<int32_t>(host.windows().createWindow("Display", 152, 112));
    }

    platform::headless::HeadlessForm& preview() { return *host.forms().find("Placeholder"); }
    platform::WindowHandle picture() { return preview().control("Picture1").handle(); }

    platform::headless::HeadlessHost host;
    SaverState state;
    PlaceholderWindows windows{host, state};
};

TEST_F(PlaceholderPreviewTest, LivesInThePreviewWindowAtItsSize) {
    windows.loadPreview();
    EXPECT_EQ(host.windows().parentOf(picture()), state.PreviewWindow);
    platform::TwipsRect bounds = preview().control("Picture1").bounds();
    EXPECT_EQ(bounds.width, 152 * 15);
    EXPECT_EQ(bounds.height, 112 * 15);
    EXPECT_FALSE(preview().visible());
}

TEST_F(PlaceholderPreviewTest, EndsAtTheTickAfterThePreviewWindowGoes) {
    windows.loadPreview();
    host.eventLoop().runFor(2500);
    EXPECT_TRUE(preview().loaded());
    host.windows().destroyWindow(state.PreviewWindow);
    host.eventLoop().runFor(1000);
    EXPECT_FALSE(host.forms().anyLoaded());
    EXPECT_TRUE(host.eventLoop().endRequested());
}

TEST_F(PlaceholderPreviewTest, EndsAfterTheSystemClosesThePicture) {
    windows.loadPreview();
    host.windows().sendClose(picture());
    host.eventLoop().runFor(1000);
    EXPECT_TRUE(host.eventLoop().endRequested());
}

TEST_F(PlaceholderPreviewTest, AWindowThatNeverExistedEndsItAtTheFirstTick) {
    state.PreviewWindow = 0;
    windows.loadPreview();
    host.eventLoop().runFor(999);
    EXPECT_FALSE(host.eventLoop().endRequested());
    host.eventLoop().runFor(1);
    EXPECT_TRUE(host.eventLoop().endRequested());
}

}  // namespace
}  // namespace pictavo::startup
