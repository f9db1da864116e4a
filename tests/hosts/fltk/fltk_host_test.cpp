#include "hosts/fltk/fltk_host.h"

#include <FL/Fl.H>
#include <gtest/gtest.h>

#include <pthread.h>
#include <signal.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "form_testing.h"
#include "x11_probe.h"
#include "xvfb_environment.h"

namespace pictavo::platform::fltk {
namespace {

using pictavo::testing::everyKindLayout;
using pictavo::testing::pumpFor;
using pictavo::testing::pumpUntil;
using pictavo::testing::RecordingHandler;
using pictavo::testing::X11Probe;
using pictavo::testing::xdotool;

class FltkHostTest : public ::testing::Test {
  protected:
    FltkHost host;
    X11Probe probe;
    RecordingHandler handler;
};

TEST_F(FltkHostTest, MeasuresTheScreenAtNinetySixDotsPerInch) {
    // Xvfb sets no Xft.dpi: the standard display.
    EXPECT_DOUBLE_EQ(host.screen().twipsPerPixelX(), 15);
    EXPECT_DOUBLE_EQ(host.screen().widthTwips(), 1024 * 15);
    EXPECT_DOUBLE_EQ(host.screen().heightTwips(), 768 * 15);
    EXPECT_EQ(host.screen().displayColours(), 16777216);
}

TEST_F(FltkHostTest, IsNoNtSystemAndHasNoScreenSaverFlag) {
    OsVersionInfo info;
    ASSERT_EQ(host.system().getVersion(info), 1);
    EXPECT_NE(info.platformId, 2u);  // so the saver's own password prompt guards the show
    EXPECT_EQ(host.system().setScreenSaverRunning(true), 1);
}

TEST_F(FltkHostTest, TheCursorCountsLikeTheSystemsDisplayCount) {
    EXPECT_EQ(host.cursor().showCursor(false), -1);
    EXPECT_TRUE(host.cursor().hidden());
    EXPECT_EQ(host.cursor().showCursor(false), -2);
    EXPECT_EQ(host.cursor().showCursor(true), -1);
    EXPECT_EQ(host.cursor().showCursor(true), 0);
    EXPECT_FALSE(host.cursor().hidden());
}

TEST_F(FltkHostTest, RunReturnsWhenTheLastFormUnloads) {
    auto form = host.forms().create(everyKindLayout(), handler, nullptr);
    form->show(false);
    form->control("Timer1").setInterval(200);
    handler.react = [](Form& f, Event& event) {
        if (event.type == EventType::Timer) f.unload();
    };
    host.eventLoop().run();
    EXPECT_FALSE(form->loaded());
    EXPECT_FALSE(host.eventLoop().endRequested());
}

TEST_F(FltkHostTest, SigtermEndsTheLoop) {
    host.eventLoop().endOnTerminationSignals();
    auto form = host.forms().create(everyKindLayout(), handler, nullptr);
    form->control("Timer1").setInterval(200);
    handler.react = [](Form&, Event& event) {
        if (event.type == EventType::Timer) std::raise(SIGTERM);
    };
    host.eventLoop().run();
    EXPECT_TRUE(host.eventLoop().endRequested());
    EXPECT_TRUE(form->loaded());
}

TEST_F(FltkHostTest, ATerminationSignalIsAnEndRequestAtOnceBeforeAnyDispatch) {
    host.eventLoop().endOnTerminationSignals();
    EXPECT_FALSE(host.eventLoop().endRequested());
    std::raise(SIGTERM);
    // A wait that looks between its slices sees it without dispatching.
    EXPECT_TRUE(host.eventLoop().endRequested());
    // The program dies of it once its windows are closed.
    EXPECT_EQ(FltkEventLoop::terminationSignal(), SIGTERM);
}

TEST_F(FltkHostTest, AWaitForADistantDeadlineEndsWhenAnotherThreadWakesTheLoop) {
    auto& loop = host.eventLoop();
    std::thread waker([&loop] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        loop.wake();
    });
    const auto started = std::chrono::steady_clock::now();
    loop.waitForEvents(host.clock().nowMicros() + 20'000'000);
    waker.join();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
}

TEST_F(FltkHostTest, ADecodingThreadLeavesTheTerminationSignalsToTheWindowsThread) {
    auto blocked = [] {
        sigset_t mask;
        pthread_sigmask(SIG_BLOCK, nullptr, &mask);
        return sigismember(&mask, SIGTERM) == 1 && sigismember(&mask, SIGINT) == 1 &&
               sigismember(&mask, SIGHUP) == 1;
    };
    bool duringScope = false;
    bool afterScope = true;
    std::thread decoding([&] {
        {
            auto scope = host.enterDecodingThread();
            duringScope = blocked();
        }
        afterScope = blocked();
    });
    decoding.join();
    EXPECT_TRUE(duringScope);
    EXPECT_FALSE(afterScope);
    EXPECT_FALSE(blocked()) << "the window's thread keeps them";
}

TEST_F(FltkHostTest, DoEventsDeliversWhatIsWaiting) {
    auto form = host.forms().create(everyKindLayout(), handler, nullptr);
    form->move({0, 0, 6000, 4500});
    form->show(false);
    ASSERT_TRUE(
        pumpUntil([&] { return probe.mapped(static_cast<unsigned long>(form->handle())); }));
    form->control("Check1").setFocus();
    pumpFor(0.2);
    xdotool("key space");
    // As a transition yields between its steps: no waiting, only what is there.
    for (int i = 0; i < 200 && handler.count(EventType::Click) == 0; ++i) {
        host.eventLoop().doEvents();
        usleep(5000);
    }
    EXPECT_EQ(handler.count(EventType::Click, "Check1"), 1);
}

class EmbeddedTest : public FltkHostTest {
  protected:
    void SetUp() override {
        lender = probe.createWindow("xscreensaver", 50, 40, 320, 240);
        ASSERT_TRUE(host.embedInto(static_cast<WindowHandle>(lender)).ok());
    }
    unsigned long lender = 0;
};

TEST_F(EmbeddedTest, TheLentWindowIsTheScreen) {
    EXPECT_DOUBLE_EQ(host.screen().widthTwips(), 320 * 15);
    EXPECT_DOUBLE_EQ(host.screen().heightTwips(), 240 * 15);
    FormSpec design = everyKindLayout();
    design.style = FormStyle::Borderless;
    auto form = host.forms().create(design, handler, nullptr);
    form->move({0, 0, 320 * 15, 240 * 15});
    form->show(false);
    auto xid = static_cast<unsigned long>(form->handle());
    ASSERT_TRUE(pumpUntil([&] { return probe.mapped(xid); }));
    EXPECT_EQ(probe.parent(xid), lender);
    EXPECT_EQ(probe.width(xid), 320);
    EXPECT_EQ(probe.height(xid), 240);
}

TEST_F(EmbeddedTest, WhatCoversTheLentWindowFollowsItsSize) {
    FormSpec design = everyKindLayout();
    design.style = FormStyle::Borderless;
    auto cover = host.forms().create(design, handler, nullptr);
    cover->move({0, 0, 320 * 15, 240 * 15});
    cover->show(false);
    RecordingHandler smallHandler;
    auto small = host.forms().create(design, smallHandler, nullptr);
    small->move({0, 0, 100 * 15, 80 * 15});
    small->show(false);
    auto xid = static_cast<unsigned long>(cover->handle());
    ASSERT_TRUE(pumpUntil([&] { return probe.mapped(xid); }));
    handler.clear();

    ASSERT_TRUE(xdotool("windowsize " + std::to_string(lender) + " 480 360"));
    ASSERT_TRUE(pumpUntil([&] { return probe.width(xid) == 480; }, 1.5));
    EXPECT_EQ(probe.height(xid), 360);
    EXPECT_DOUBLE_EQ(host.screen().widthTwips(), 480 * 15);
    EXPECT_DOUBLE_EQ(host.screen().heightTwips(), 360 * 15);
    EXPECT_EQ(cover->clientSize().width, 480 * 15);
    EXPECT_EQ(cover->clientSize().height, 360 * 15);
    EXPECT_EQ(handler.count(EventType::Resize), 1);
    // A window smaller than the screen keeps its size.
    EXPECT_EQ(probe.width(static_cast<unsigned long>(small->handle())), 100);
    EXPECT_EQ(smallHandler.count(EventType::Resize), 0);

    // Smaller again: still covering it, not more.
    ASSERT_TRUE(xdotool("windowsize " + std::to_string(lender) + " 200 150"));
    ASSERT_TRUE(pumpUntil([&] { return probe.width(xid) == 200; }, 1.5));
    EXPECT_EQ(probe.height(xid), 150);
    EXPECT_EQ(handler.count(EventType::Resize), 2);
}

TEST_F(EmbeddedTest, TheHostKeepsTheInputAndThePointer) {
    auto form = host.forms().create(everyKindLayout(), handler, nullptr);
    form->show(false);
    ASSERT_TRUE(
        pumpUntil([&] { return probe.mapped(static_cast<unsigned long>(form->handle())); }));
    host.cursor().showCursor(false);
    EXPECT_FALSE(host.cursor().hidden());
    auto corner = probe.onScreen(static_cast<unsigned long>(form->handle()), 0, 0);
    xdotool("mousemove " + std::to_string(corner.x + 250) + " " + std::to_string(corner.y + 200) +
            " click 1");
    xdotool("key a");
    pumpFor(0.5);
    EXPECT_EQ(handler.count(EventType::MouseMove), 0);
    EXPECT_EQ(handler.count(EventType::Click), 0);
}

TEST_F(EmbeddedTest, TheProgramEndsWhenTheLentWindowGoes) {
    auto form = host.forms().create(everyKindLayout(), handler, nullptr);
    form->show(false);
    pumpFor(0.2);
    probe.destroyWindow(lender);
    EXPECT_TRUE(pumpUntil([&] { return host.eventLoop().endRequested(); }, 1.5));
}

TEST_F(FltkHostTest, AWindowThatIsNotThereCannotBeLent) {
    EXPECT_FALSE(host.embedInto(0x7FFFFF00).ok());
}

TEST(Monitors, ThePrimaryIsTheHeadOfRandrsPrimaryMonitorElseTheFirst) {
    const std::vector<MonitorArea> heads{
        {0, 0, 1920, 1080}, {1920, 0, 1280, 1024}, {3200, 0, 1920, 1080}};
    EXPECT_EQ(primaryHead(heads, std::nullopt), 0u);
    EXPECT_EQ(primaryHead(heads, MonitorArea{1920, 0, 1280, 1024}), 1u);
    // A monitor that is part of a head: the head that holds its centre.
    EXPECT_EQ(primaryHead(heads, MonitorArea{3200, 0, 960, 1080}), 2u);
    EXPECT_EQ(primaryHead(heads, MonitorArea{9000, 0, 10, 10}), 0u);
}

TEST(Monitors, EachOtherPictureIsCoveredOnceAndNothingThePrimaryShows) {
    // Two monitors, each with a clone, and a small one showing part of the second.
    MonitorLayout layout{{{0, 0, 1920, 1080},
                          {1920, 0, 1920, 1080},
                          {0, 0, 1920, 1080},
                          {1920, 0, 1920, 1080},
                          {1920, 0, 1024, 768}},
                         0};
    EXPECT_EQ(layout.otherHeads(), (std::vector<size_t>{1}));
    layout.primary = 3;
    EXPECT_EQ(layout.otherHeads(), (std::vector<size_t>{0}));
    layout.primary = 4;
    EXPECT_EQ(layout.otherHeads(), (std::vector<size_t>{0, 1}));
}

}  // namespace
}  // namespace pictavo::platform::fltk
