// What the headless host shows and how its loop and clock move: the frame
// sink sees exactly what was presented, and the counters and hooks the
// transition tests lean on report what happened.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hosts/headless/headless_host.h"

namespace pictavo::platform::headless {
namespace {

struct Frame {
    const MemorySurface* surface;
    imaging::Image pixels;
};

class KeptFrames final : public FrameSink {
  public:
    void framePresented(const MemorySurface& surface) override {
        frames.push_back({&surface, surface.image()});
    }
    std::vector<Frame> frames;
};

class NoReactions : public FormHandler {
  public:
    void onEvent(Form&, Event&) override {}
};

FormSpec windowWithPicture() {
    FormSpec design;
    design.name = "Window";
    design.caption = "Window";
    design.clientWidth = 600;
    design.clientHeight = 450;
    ControlSpec picture;
    picture.name = "Picture1";
    picture.kind = ControlKind::PictureBox;
    picture.rect = {0, 0, 300, 150};
    design.controls = {picture};
    return design;
}

TEST(HeadlessFrames, EverySurfaceOfTheHostPresentsItsPixelsToTheSink) {
    HeadlessHost host;
    KeptFrames kept;
    NoReactions none;
    auto form = host.forms().create(windowWithPicture(), none, nullptr);
    Surface& picture = *form->control("Picture1").surface();
    Surface& background = *form->background();
    MemorySurface loose = host.frames().surface(3, 2, imaging::rgb(9, 8, 7));

    host.setFrameSink(&kept);
    picture.clear(bgr(255, 0, 0));
    picture.present();
    background.clear(bgr(0, 0, 255));
    background.present();
    loose.present();

    ASSERT_EQ(kept.frames.size(), 3u);
    EXPECT_EQ(kept.frames[0].surface, &picture);
    EXPECT_EQ(kept.frames[0].pixels.width, 20);  // 300 twips at 15 a pixel
    EXPECT_EQ(kept.frames[0].pixels.height, 10);
    EXPECT_EQ(kept.frames[0].pixels.at(19, 9), imaging::rgb(255, 0, 0));
    EXPECT_EQ(kept.frames[1].surface, &background);
    EXPECT_EQ(kept.frames[1].pixels.at(0, 0), imaging::rgb(0, 0, 255));
    EXPECT_EQ(kept.frames[2].surface, &loose);
    EXPECT_EQ(kept.frames[2].pixels.at(2, 1), imaging::rgb(9, 8, 7));
    EXPECT_EQ(host.frames().presented(), 3);
}

TEST(HeadlessFrames, WithoutASinkFramesAreOnlyCountedAndOtherSurfacesAreNotTheHosts) {
    HeadlessHost host;
    KeptFrames kept;
    MemorySurface mine = host.frames().surface(2, 2);
    mine.present();
    host.setFrameSink(&kept);
    MemorySurface stranger(2, 2);
    stranger.present();  // drawn without the host: not on its screen
    mine.present();
    host.setFrameSink(nullptr);
    mine.present();

    ASSERT_EQ(kept.frames.size(), 1u);
    EXPECT_EQ(kept.frames[0].surface, &mine);
    EXPECT_EQ(host.frames().presented(), 3);
}

TEST(HeadlessLoop, TheDispatchHookRunsFirstWithTheNumberOfTheDispatch) {
    HeadlessHost host;
    HeadlessEventLoop& loop = host.eventLoop();
    std::vector<std::string> order;
    loop.setOnDispatch([&](int dispatch) { order.push_back("hook " + std::to_string(dispatch)); });
    loop.post([&] { order.push_back("input"); });
    loop.doEvents();
    loop.doEvents();
    EXPECT_EQ(order, (std::vector<std::string>{"hook 1", "input", "hook 2"}));
    EXPECT_EQ(loop.dispatchCount(), 2);

    // An end asked for in the hook leaves the posted input alone.
    loop.setOnDispatch([&](int) { loop.requestEnd(); });
    loop.post([&] { order.push_back("late input"); });
    loop.doEvents();
    EXPECT_EQ(order.back(), "hook 2");
}

TEST(HeadlessLoop, InputPostedAtTheStartOfAWaitCutsItShortAndTheWaitsAreCounted) {
    HeadlessHost host;
    HeadlessEventLoop& loop = host.eventLoop();
    FakeClock& clock = host.clock();
    int handled = 0;
    loop.setOnWait([&](int wait) {
        if (wait == 2) loop.post([&] { ++handled; });
    });
    loop.waitForEvents(300);
    EXPECT_EQ(clock.nowMicros(), 300);
    loop.waitForEvents(1000);  // input arrives: no time passes
    EXPECT_EQ(clock.nowMicros(), 300);
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(loop.dispatchCount(), 1);
    loop.waitForEvents(1000);
    loop.waitForEvents(50);  // already past: no time passes either way
    EXPECT_EQ(clock.nowMicros(), 1000);
    EXPECT_EQ(loop.waitCount(), 4);
    EXPECT_EQ(loop.longestWait(), 700);
    EXPECT_EQ(clock.sleeps(), 3);  // every wait nothing interrupted slept, even a past one
}

}  // namespace
}  // namespace pictavo::platform::headless
