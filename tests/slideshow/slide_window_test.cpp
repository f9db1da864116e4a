#include "slideshow/slide_window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <thread>

#include "decode_gate.h"
#include "show_fixture.h"

namespace pictavo::slideshow {
namespace {

using imaging::rgb;
using testing::ShowFixture;

std::vector<int64_t> transitionTimes(const testing::FakeTransitions& transitions) {
    std::vector<int64_t> times;
    for (const auto& call : transitions.calls) times.push_back(call.atMs);
    return times;
}

// ---- set-up ----

TEST(SlideWindowSetUp, CoversTheScreenAboveAllWindowsWithTheCursorHidden) {
    ShowFixture show(320, 200);
    show.start();
    auto& form = show.frmSS();
    EXPECT_TRUE(form.visible());
    EXPECT_EQ(form.caption(), "Screen Saver Main Form");
    EXPECT_EQ(form.bounds().width, 320 * 15);
    EXPECT_EQ(form.bounds().height, 200 * 15);
    EXPECT_TRUE(show.host.windows().isTopmost(form.handle()));
    EXPECT_EQ(show.picture1().width(), 320);
    EXPECT_EQ(show.picture2().height(), 200);
    EXPECT_EQ(form.control("Timer1").interval(), 1000);
    EXPECT_EQ(show.host.cursor().displayCount(), -1);
    EXPECT_EQ(show.state.OsPlatformId, 1);
    EXPECT_TRUE(show.state.MouseOriginPending);
}

struct FlagCase {
    const char* password;
    int16_t usePassword;
    uint32_t platformId;
    bool flagSet;
};

TEST(SlideWindowSetUp, TellsTheSystemASaverRunsOnlyWhenAPasswordIsInForceOutsideNt) {
    for (FlagCase c : {FlagCase{"Y", 1, 1, true}, FlagCase{"", 1, 1, false},
                       FlagCase{"Y", 0, 1, false}, FlagCase{"Y", 1, 2, false}}) {
        ShowFixture show;
        show.state.Password = c.password;
        show.state.UsePassword = c.usePassword;
        show.host.system().setPlatformId(c.platformId);
        show.start();
        EXPECT_EQ(show.host.system().screenSaverRunning(), c.flagSet)
            << c.password << c.usePassword << c.platformId;
        EXPECT_EQ(show.state.ScreenSaverRunningSet, c.flagSet);
    }
}

// ---- a window that changes size (the host's, when drawn into another program's window) ----

TEST(SlideWindowResize, ThePicturesCoverTheNewSizeAndTheOnlyPictureIsPlacedForIt) {
    ShowFixture show(64, 48);
    show.addPicture("only.bmp", 20, 10, rgb(200, 0, 0));
    show.start();
    show.runSeconds(1);
    ASSERT_EQ(show.picture2().snapshot().at(32, 24), rgb(200, 0, 0));
    show.host.screen().setPixels(100, 80);
    show.frmSS().resizeTo(100 * 15, 80 * 15);
    EXPECT_EQ(show.picture1().width(), 100);
    EXPECT_EQ(show.picture2().width(), 100);
    EXPECT_EQ(show.picture2().height(), 80);
    EXPECT_EQ(show.state.ScreenPixelWidth, 100);
    EXPECT_EQ(show.state.ScreenPixelHeight, 80);
    show.runSeconds(1);
    // Centred in 100 x 80 now, no longer at the old screen's middle.
    imaging::Image shown = show.picture2().snapshot();
    EXPECT_EQ(shown.at(50, 40), rgb(200, 0, 0));
    EXPECT_EQ(shown.at(41, 36), rgb(200, 0, 0));
    EXPECT_EQ(shown.at(25, 20), rgb(0, 0, 0));
    EXPECT_EQ(show.log.placed.size(), 2u);
}

TEST(SlideWindowResize, ASizeChangeDuringATransitionComesAfterIt) {
    ShowFixture show(64, 48);
    show.addPicture("a.bmp", 8, 8, rgb(200, 0, 0));
    show.transitions.setPauses(10, 10);
    show.start();
    int widthDuringTransition = 0;
    show.transitions.onPause = [&](int call, int pause) {
        if (call != 1) return;
        if (pause == 2) {
            show.host.screen().setPixels(90, 60);
            show.frmSS().resizeTo(90 * 15, 60 * 15);
        }
        if (pause == 5) widthDuringTransition = show.picture2().width();
    };
    show.runSeconds(1);
    EXPECT_EQ(widthDuringTransition, 64);
    EXPECT_EQ(show.picture2().width(), 90);
    EXPECT_EQ(show.picture1().height(), 60);
    EXPECT_EQ(show.state.ScreenPixelWidth, 90);
}

// ---- the timer ----

TEST(SlideWindowTimer, FirstSlideAtTheFirstTickThenEveryIntervalPlusOne) {
    ShowFixture show;
    show.addPicture("a.bmp", 8, 8, rgb(9, 9, 9));
    show.state.Interval = 10;
    show.start();
    show.runSeconds(34);
    EXPECT_EQ(transitionTimes(show.transitions), (std::vector<int64_t>{1000, 12000, 23000, 34000}));
}

TEST(SlideWindowTimer, IntervalZeroChangesTheSlideOnEveryTick) {
    ShowFixture show;
    show.state.Interval = 0;
    show.start();
    show.runSeconds(5);
    EXPECT_EQ(transitionTimes(show.transitions),
              (std::vector<int64_t>{1000, 2000, 3000, 4000, 5000}));
}

TEST(SlideWindowTimer, ATickDuringAChangeDoesNotStartASecondOne) {
    ShowFixture show;
    show.addPicture("a.bmp", 8, 8, rgb(9, 9, 9));
    show.addPicture("b.bmp", 8, 8, rgb(7, 7, 7));
    show.state.Interval = 0;
    // Each transition takes 2.5 s and lets the loop run every 100 ms.
    show.transitions.setPauses(25, 100);
    show.start();
    show.runSeconds(20);
    EXPECT_EQ(show.transitions.deepest, 1);
    // The ticks during a change are not counted: the next change comes at
    // the first tick after one has finished.
    auto times = transitionTimes(show.transitions);
    ASSERT_GE(times.size(), 3u);
    for (size_t i = 1; i < times.size(); ++i) EXPECT_LE(times[i] - times[i - 1], 4000) << i;
}

// ---- picking and staging ----

TEST(SlideWindowShow, TwoPicturesAlternateStrictly) {
    ShowFixture show;
    show.addPicture("a.bmp", 8, 8, rgb(200, 0, 0));
    show.addPicture("B.JPG", 8, 8, rgb(0, 200, 0));
    show.start();
    show.runSeconds(40);
    ASSERT_EQ(show.log.placed.size(), 40u);
    for (size_t i = 1; i < show.log.placed.size(); ++i)
        EXPECT_NE(show.log.placed[i], show.log.placed[i - 1]);
    EXPECT_EQ(show.transitions.calls.size(), 40u);
}

TEST(SlideWindowShow, TheOnlyPictureIsLoadedOnceAndTransitionedAgainAndAgain) {
    ShowFixture show;
    show.addPicture("only.png", 64, 48, rgb(0, 0, 200));
    show.state.Stretch = 1;
    show.start();
    show.runSeconds(1);
    ASSERT_EQ(show.log.placed, (std::vector<int>{0}));
    // Gone from the folder: it is not read again, so no error appears.
    std::filesystem::remove(show.folder.path() / "only.png");
    show.runSeconds(30);
    EXPECT_EQ(show.log.placed.size(), 1u);
    EXPECT_TRUE(show.log.lines.empty());
    EXPECT_EQ(show.transitions.calls.size(), 31u);
    std::set<int> effects;
    for (const auto& call : show.transitions.calls) effects.insert(call.effect);
    EXPECT_GE(*effects.rbegin(), 32) << "stretched slides use the stretch effects too";
    EXPECT_EQ(show.picture2().snapshot().at(5, 5), rgb(0, 0, 200));
}

TEST(SlideWindowShow, AnEmptyFolderAddsOneLineNamingItAtEachChange) {
    ShowFixture show(640, 480);
    show.state.Stretch = 1;
    show.start();
    show.runSeconds(1);
    int lineHeight = show.picture1().printY();
    show.runSeconds(2);
    std::string line = "No pictures found in " + show.folder.withSeparator() + " !!";
    EXPECT_EQ(show.log.lines, (std::vector<std::string>{line, line, line}));
    EXPECT_EQ(show.picture1().printY(), 3 * lineHeight);
    for (const auto& call : show.transitions.calls) EXPECT_LT(call.effect, 32);
    EXPECT_FALSE(show.state.LastPictureIndex.has_value());
    // The light grey text is on screen.
    const auto screen = show.picture2().snapshot();
    EXPECT_NE(std::count(screen.pixels.begin(), screen.pixels.end(), rgb(192, 192, 192)), 0);
}

TEST(SlideWindowShow, AMissingFolderIsReportedAsEmptyByItsOwnName) {
    ShowFixture show;
    show.state.PicturePath = "/no/such/pictures/";
    show.start();
    show.runSeconds(1);
    EXPECT_EQ(show.log.lines,
              (std::vector<std::string>{"No pictures found in /no/such/pictures/ !!"}));
}

TEST(SlideWindowShow, AFailingPictureIsReportedOnTheStagedPictureAndPickedAgainLater) {
    ShowFixture show;
    show.addPicture("good.bmp", 8, 8, rgb(9, 9, 9));
    testing::writeFile(show.folder.path() / "broken.jpg", "P6\n8 8\n255\nxx");
    show.state.Stretch = 1;
    show.start();
    show.runSeconds(20);
    std::string expected = "file is truncated; " + show.folder.withSeparator() + "broken.jpg";
    ASSERT_FALSE(show.log.lines.empty());
    for (const auto& line : show.log.lines) EXPECT_EQ(line, expected);
    // broken.jpg sorts first: index 0 never becomes the last picture, so it
    // may come twice in a row; good.bmp never does.
    for (size_t i = 1; i < show.log.placed.size(); ++i) EXPECT_EQ(show.log.placed[i], 1);
    EXPECT_EQ(show.state.LastPictureIndex, 1);
    EXPECT_EQ(show.log.lines.size() + show.log.placed.size(), 20u);
}

TEST(SlideWindowShow, ErrorLinesUseTheNonStretchEffectsOnly) {
    ShowFixture show;
    testing::writeFile(show.folder.path() / "a.jpg", "junk");
    testing::writeFile(show.folder.path() / "b.jpg", "junk");
    show.state.Stretch = 1;
    show.start();
    show.runSeconds(200);
    for (const auto& call : show.transitions.calls) ASSERT_LT(call.effect, 32);
}

TEST(SlideWindowShow, NoTemporaryBitmapIsWrittenAndAStrangersIsLeftAlone) {
    TempFolder cwd;
    auto previous = std::filesystem::current_path();
    std::filesystem::current_path(cwd.path());
    {
        ShowFixture show;
        show.addPicture("a.bmp", 80, 60, rgb(1, 1, 1));
        show.addPicture("b.bmp", 64, 48, rgb(2, 2, 2));
        show.start();
        show.runSeconds(5);
        EXPECT_FALSE(std::filesystem::exists(cwd.path() / "~3402tmp.bmp"));
        cwd.write("~3402tmp.bmp", "somebody else's");
        show.frmSS().click("Picture2");
        EXPECT_TRUE(show.ended());
    }
    std::filesystem::current_path(previous);
    EXPECT_TRUE(std::filesystem::exists(cwd.path() / "~3402tmp.bmp"));
}

// ---- input ----

TEST(SlideWindowInput, TheFirstMoveSetsTheOriginAndAOnePixelMoveEndsTheShow) {
    ShowFixture show;
    show.start();
    auto& form = show.frmSS();
    form.mouseMove("Picture2", 100, 50);
    EXPECT_FALSE(show.ended());
    EXPECT_FALSE(show.state.MouseOriginPending);
    form.mouseMove("Picture2", 100, 50);
    EXPECT_FALSE(show.ended());
    form.mouseMove("Picture2", 100, 51);
    EXPECT_TRUE(show.ended());
    EXPECT_EQ(show.window->form(), nullptr);
    EXPECT_TRUE(show.host.cursor().visible());
}

TEST(SlideWindowInput, AClickEndsTheShowButAPressAloneDoesNot) {
    ShowFixture show;
    show.start();
    show.frmSS().fire({platform::EventType::MouseDown, "Picture2"});
    EXPECT_FALSE(show.ended());
    show.frmSS().click("Picture2");
    EXPECT_TRUE(show.ended());
}

TEST(SlideWindowInput, AnyKeyEndsTheShowAndGoesNoFurther) {
    for (int key : {16 /* shift alone */, 65, 13, 27}) {
        ShowFixture show;
        show.start();
        platform::Event down{platform::EventType::KeyDown, "", key};
        static_cast<platform::FormHandler&>(*show.window).onEvent(show.frmSS(), down);
        EXPECT_EQ(down.key, 0);
        EXPECT_TRUE(show.ended()) << key;
        EXPECT_EQ(show.prompt(), nullptr);
    }
    ShowFixture show;
    show.start();
    show.frmSS().pressKey(65);
    EXPECT_TRUE(show.ended());
}

TEST(SlideWindowInput, OnNtThePasswordSwitchAsksForNothing) {
    ShowFixture show;
    show.state.UsePassword = 1;
    show.state.Password = "TFDSFU";
    show.host.system().setPlatformId(2);
    show.start();
    show.frmSS().pressKey(65);
    EXPECT_TRUE(show.ended());
    EXPECT_EQ(show.prompt(), nullptr);
    EXPECT_TRUE(show.host.system().flagCalls().empty());
}

TEST(SlideWindowInput, WithThePasswordSwitchInputOpensThePromptAndTheShowGoesOn) {
    ShowFixture show;
    show.addPicture("a.bmp", 8, 8, rgb(200, 0, 0));
    show.addPicture("b.bmp", 8, 8, rgb(0, 200, 0));
    show.state.UsePassword = 1;
    show.start();
    show.frmSS().mouseMove("Picture2", 10, 10);
    show.frmSS().mouseMove("Picture2", 11, 10);
    ASSERT_NE(show.prompt(), nullptr);
    EXPECT_FALSE(show.ended());
    EXPECT_EQ(show.host.cursor().displayCount(), 0);
    show.runSeconds(3);
    EXPECT_EQ(show.log.placed.size(), 3u);

    // More input brings the open prompt forward and shows the cursor once more.
    int front = show.prompt()->frontCount();
    show.frmSS().click("Picture2");
    EXPECT_EQ(show.prompt()->frontCount(), front + 1);
    EXPECT_EQ(show.host.cursor().displayCount(), 1);
    EXPECT_EQ(show.host.forms().created(), 2);
}

TEST(SlideWindowInput, AfterCancelTheNextMoveOnlySetsANewOrigin) {
    ShowFixture show;
    show.state.UsePassword = 1;
    show.start();
    show.frmSS().mouseMove("Picture2", 10, 10);
    show.frmSS().mouseMove("Picture2", 20, 20);
    show.frmSS().mouseMove("Picture2", 30, 30);
    ASSERT_NE(show.prompt(), nullptr);
    show.prompt()->click("Command1");
    EXPECT_EQ(show.prompt(), nullptr);
    EXPECT_EQ(show.host.cursor().displayCount(), -1);
    EXPECT_TRUE(show.state.MouseOriginPending);

    show.frmSS().mouseMove("Picture2", 300, 200);
    EXPECT_EQ(show.prompt(), nullptr);
    show.frmSS().mouseMove("Picture2", 301, 200);
    EXPECT_NE(show.prompt(), nullptr);
    EXPECT_FALSE(show.ended());
}

// ---- input in the middle of a transition ----

TEST(SlideWindowMidTransition, InputThatEndsTheShowCutsTheTransitionShortAndUnloadsAfterIt) {
    ShowFixture show;
    show.addPicture("a.bmp", 8, 8, rgb(200, 0, 0));
    show.transitions.setPauses(50, 10);
    show.start();
    platform::headless::HeadlessForm* form = &show.frmSS();
    form->mouseMove("Picture2", 5, 5);
    bool loadedAfterInput = false;
    show.transitions.onPause = [&](int, int pause) {
        if (pause != 5) return;
        show.host.eventLoop().post([&] {
            form->mouseMove("Picture2", 6, 5);
            loadedAfterInput = form->loaded();
        });
    };
    show.runSeconds(5);
    EXPECT_TRUE(show.ended());
    EXPECT_TRUE(loadedAfterInput) << "the window must outlive the transition drawing on it";
    EXPECT_FALSE(form->loaded());
    EXPECT_EQ(show.transitions.cutShort, 1);
    EXPECT_EQ(show.transitions.pausesRun, 6);
    EXPECT_EQ(show.transitions.calls.size(), 1u);
}

TEST(SlideWindowMidTransition, APasswordAcceptedDuringATransitionEndsCleanly) {
    ShowFixture show;
    show.addPicture("a.bmp", 8, 8, rgb(200, 0, 0));
    show.addPicture("b.bmp", 8, 8, rgb(0, 200, 0));
    show.state.UsePassword = 1;
    show.state.Password = testing::fakeEncode("pw");
    show.transitions.setPauses(50, 10);
    show.start();
    platform::headless::HeadlessForm* form = &show.frmSS();
    form->mouseMove("Picture2", 5, 5);
    platform::headless::HeadlessForm* prompt = nullptr;
    show.transitions.onPause = [&](int transition, int pause) {
        if (transition == 1 && pause == 3)
            show.host.eventLoop().post([&] { form->mouseMove("Picture2", 6, 5); });
        if (transition == 2 && pause == 10)
            show.host.eventLoop().post([&] {
                prompt = show.prompt();
                prompt->type("Text1", "PW");
                prompt->pressKey(13);
            });
    };
    show.runSeconds(5);
    ASSERT_NE(prompt, nullptr);
    EXPECT_TRUE(show.ended());
    EXPECT_FALSE(form->loaded());
    EXPECT_FALSE(prompt->loaded());
    EXPECT_EQ(show.transitions.calls.size(), 2u);
    EXPECT_EQ(show.transitions.cutShort, 1);
}

// ---- the next picture, prepared ahead on a thread of its own ----

struct GatedShow : ShowFixture {
    GatedShow() { host.setDecoderSource(testing::gatedPpmDecoders(gate)); }
    // The index the next change will not show: of two pictures, the one not on screen.
    int other() const { return 1 - state.LastPictureIndex.value_or(1); }

    std::shared_ptr<testing::DecodeGate> gate = std::make_shared<testing::DecodeGate>();
};

TEST(SlideWindowStaging, TheNextPictureIsDecodedWhileTheCurrentOneShows) {
    GatedShow show;
    show.addPicture("a.bmp", 8, 8, rgb(200, 0, 0));
    show.addPicture("b.bmp", 8, 8, rgb(0, 200, 0));
    show.state.Interval = 4;
    show.start();
    show.runSeconds(1);
    ASSERT_EQ(show.log.placed.size(), 1u);
    // With the clock standing still after the first change, the second
    // picture is decoded all the same.
    ASSERT_TRUE(show.gate->waitFor(2, 2));
    EXPECT_EQ(show.host.clock().nowMillis(), 1000);
    // At its tick nothing is left to decode: a closed gate does not hold it up.
    show.gate->close();
    show.runSeconds(5);
    ASSERT_EQ(show.log.placed.size(), 2u);
    EXPECT_NE(show.log.placed[1], show.log.placed[0]);
    EXPECT_EQ(show.gate->finishedCount(), 2);
    EXPECT_EQ(show.transitions.calls.back().atMs, 6000);
    show.gate->open();
}

TEST(SlideWindowStaging, APictureThatChangedOrVanishedSinceItWasDecodedIsReadAgainAtTheTick) {
    GatedShow show;
    show.addPicture("a.bmp", 8, 8, rgb(200, 0, 0));
    show.addPicture("b.bmp", 8, 8, rgb(0, 200, 0));
    show.state.Interval = 0;
    show.start();
    show.runSeconds(1);
    ASSERT_TRUE(show.gate->waitFor(2, 2));
    const std::string next = show.window->pictures().List(show.other());
    show.addPicture(next, 9, 8, rgb(0, 0, 200));
    show.runSeconds(1);
    EXPECT_EQ(show.picture2().snapshot().at(32, 24), rgb(0, 0, 200));
    EXPECT_GE(show.gate->finishedCount(), 3) << "read again at the tick";

    ASSERT_TRUE(show.gate->waitFor(4, 4));
    const std::string gone = show.window->pictures().List(show.other());
    std::filesystem::remove(show.folder.path() / gone);
    show.runSeconds(1);
    ASSERT_EQ(show.log.lines.size(), 1u);
    EXPECT_EQ(show.log.lines[0],
              "cannot open file: file not found; " + show.folder.withSeparator() + gone);
}

TEST(SlideWindowStaging, InputWhileTheTickWaitsForItsPictureEndsTheShowDrawingNothing) {
    GatedShow show;
    show.addPicture("a.bmp", 8, 8, rgb(200, 0, 0));
    show.gate->close();
    show.start();
    platform::headless::HeadlessForm* form = &show.frmSS();
    form->mouseMove("Picture2", 5, 5);
    // A key comes from the user while the window waits at the first tick.
    std::thread user([&] {
        show.gate->waitFor(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        show.host.eventLoop().post([form] { form->pressKey(65); });
    });
    show.runSeconds(5);
    user.join();
    EXPECT_TRUE(show.ended());
    EXPECT_FALSE(form->loaded());
    EXPECT_TRUE(show.transitions.calls.empty());
    EXPECT_TRUE(show.log.placed.empty());
    EXPECT_EQ(show.log.changes, 1) << "the change unwound";
    EXPECT_TRUE(show.gate->waitFor(1, 0, 1)) << "the decode nobody wants was not cancelled";
}

}  // namespace
}  // namespace pictavo::slideshow
