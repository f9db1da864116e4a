#include "startup/main.h"

#include <gtest/gtest.h>

#include "hosts/headless/headless_host.h"
#include "settings/settings.h"
#include "startup/system_queries.h"

namespace pictavo::startup {
namespace {

class RecordingWindows : public ModeWindows {
  public:
    void startSlideShow() override { opened.push_back("show"); }
    void showConfiguration(const char* caption) override {
        opened.push_back(std::string("configure:") + caption);
    }
    void loadPreview() override { opened.push_back("preview"); }
    void showChangePassword() override { opened.push_back("password"); }
    std::vector<std::string> opened;
};

class MainTest : public ::testing::Test {
  protected:
    void run(const std::string& commandLine) { Main(host, state, windows, commandLine); }
    platform::headless::HeadlessHost host;
    SaverState state;
    RecordingWindows windows;
};

TEST_F(MainTest, MeasuresTheScreenInPixels) {
    host.screen().setPixels(640, 480);
    run("/c");
    EXPECT_EQ(state.TwipsPerPixelX, 15);
    EXPECT_EQ(state.ScreenPixelWidth, 640);
    EXPECT_EQ(state.ScreenPixelHeight, 480);

    host.screen().setTwipsPerPixel(1440.0 / 144, 1440.0 / 144);  // a 150 % display
    host.screen().setPixels(2560, 1440);
    run("/c");
    EXPECT_EQ(state.TwipsPerPixelX, 10);
    EXPECT_EQ(state.ScreenPixelWidth, 2560);
    EXPECT_EQ(state.ScreenPixelHeight, 1440);
}

TEST_F(MainTest, LoadsEverySettingInEveryMode) {
    using namespace settings;
    ASSERT_TRUE(host.settings().write(kApplication, kSectionPictavo, kKeyInterval, "20").ok());
    ASSERT_TRUE(host.settings().write(kApplication, kSectionPictavo, kKeyStretch, "1").ok());
    ASSERT_TRUE(host.settings().write(kApplication, kSectionPictavo, kKeySpeed, "500").ok());
    ASSERT_TRUE(
        host.settings().write(kApplication, kSectionPictavo, kKeyPicturePath, "/pics").ok());
    ASSERT_TRUE(host.settings().write(kApplication, kSectionScreenSaver, kKeyPassword, "XY").ok());
    for (const char* commandLine : {"/s", "/c", "/p 5", "/a 5", "junk"}) {
        state = SaverState{};
        run(commandLine);
        EXPECT_EQ(state.Interval, 20) << commandLine;
        EXPECT_EQ(state.Stretch, 1) << commandLine;
        EXPECT_EQ(state.Speed, 500) << commandLine;
        EXPECT_EQ(state.PicturePath, "/pics/") << commandLine;
        EXPECT_EQ(state.Password, "XY") << commandLine;
    }
}

TEST_F(MainTest, ReadsTheSystemPasswordSwitch) {
    run("/c");
    EXPECT_EQ(state.UsePassword, 0);
    host.registry().setString(kHkeyCurrentUser, kDesktopKey, kUsePasswordValue, "1");
    run("/c");
    EXPECT_EQ(state.UsePassword, 1);
    host.registry().setDword(kHkeyCurrentUser, kDesktopKey, kUsePasswordValue, 1);
    run("/c");
    EXPECT_EQ(state.UsePassword, 1);
    host.registry().setDword(kHkeyCurrentUser, kDesktopKey, kUsePasswordValue, 0);
    run("/c");
    EXPECT_EQ(state.UsePassword, 0);
    host.registry().setString(kHkeyCurrentUser, kDesktopKey, kUsePasswordValue, "yes");
    run("/c");
    EXPECT_EQ(state.UsePassword, 0);
}

TEST_F(MainTest, OpensExactlyTheWindowOfTheMode) {
    run("/S");
    run("/c");
    run("");
    run("/p 1234");
    EXPECT_EQ(state.PreviewWindow, 1234);
    run("/a 5678");
    EXPECT_EQ(state.PreviewWindow, 5678);
    EXPECT_EQ(windows.opened,
              (std::vector<std::string>{"show", "configure:Configure Pictavo",
                                        "configure:Configure Pictavo", "preview", "password"}));
}

TEST_F(MainTest, ASecondShowEndsWithoutOpeningAnything) {
    host.windows().createWindow("Screen Saver Main Form", 100, 100);
    uint32_t before = state.random.state();
    run("/s");
    EXPECT_TRUE(windows.opened.empty());
    EXPECT_EQ(state.random.state(), before);
}

TEST_F(MainTest, OnlyTheFullScreenShowSeedsTheGenerator) {
    uint32_t unseeded = Random{}.state();
    run("/p 1");
    EXPECT_EQ(state.random.state(), unseeded);
    run("/c");
    run("/a 1");
    EXPECT_EQ(state.random.state(), unseeded);
    host.clock().setSeed(1234);
    run("/s");
    EXPECT_NE(state.random.state(), unseeded);
}

TEST_F(MainTest, TheHostedShowStartsBesideAnotherShowLikeTheFullScreenOne) {
    using namespace settings;
    ASSERT_TRUE(host.settings().write(kApplication, kSectionPictavo, kKeyInterval, "20").ok());
    host.screen().setPixels(800, 600);
    host.clock().setSeed(1234);
    run("/s");
    const SaverState fullScreen = state;

    // The daemon runs a show on every screen: one already open does not stop it.
    host.windows().createWindow("Screen Saver Main Form", 100, 100);
    state = SaverState{};
    Main(host, state, windows, CommandLine{Mode::HostedShow});
    EXPECT_EQ(windows.opened, (std::vector<std::string>{"show", "show"}));
    EXPECT_EQ(state.random.state(), fullScreen.random.state());
    EXPECT_NE(state.random.state(), Random{}.state());
    EXPECT_EQ(state.Interval, 20);
    EXPECT_EQ(state.ScreenPixelWidth, 800);
    EXPECT_EQ(state.ScreenPixelHeight, 600);
}

}  // namespace
}  // namespace pictavo::startup
