// What the X host shows of the transitions: the frames of the in-memory
// surface (the golden hashes of the headless host) and, on the screen,
// exactly those pixels; and how little is presented to get there.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "common/random.h"
#include "golden/effect_playback.h"
#include "golden/golden_file.h"
#include "golden/pixel_hash.h"
#include "hosts/fltk/fltk_host.h"
#include "hosts/fltk/fltk_surface.h"
#include "hosts/fltk/picture_window.h"
#include "hosts/headless/headless_screen.h"
#include "transitions/transition_engine.h"
#include "transitions/transition_rig.h"
#include "xvfb_environment.h"

// After gtest and the core's headers, whose names X11's macros would rewrite.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <X11/Xutil.h>

namespace pictavo::platform::fltk {
namespace {

using golden::PauseCounter;
using imaging::Image;
using transitions::testing::kOldSlide;

// Picture2 shown in a borderless window at the screen's top left, as the
// show has it, with Picture1 staged beside it.
class ShownPictures {
  public:
    ShownPictures(int width, int height)
        : picture1(width, height), picture2(width, height), top(0, 0, width, height) {
        top.border(0);
        window = new PictureWindow(0, 0, width, height, picture2, host.forms().presenter(), false);
        window->end();
        top.end();
        top.show();
        testing::pumpUntil([&] { return window->visible_r() != 0; });
        screen.setPixels(width, height);
        state.ImageWidth = static_cast<int16_t>(width);
        state.ImageHeight = static_cast<int16_t>(height);
        picture1.drawImage(golden::stagedSlide(width, height), 0, 0);
    }
    ~ShownPictures() { window->detach(); }

    // A fresh old slide and generator, as at the show's start.
    void reset() {
        picture2.drawImage(Image(picture2.width(), picture2.height(), kOldSlide), 0, 0);
        host.eventLoop().presentDrawing(EventLoop::Present::Now);
        state.random = Random();
    }
    // The effect's own pattern; the trace sees (and may cut) every pause.
    void run(int effect, PauseCounter& counter) {
        transitions::TransitionEngine engine(picture1, picture2, state, screen, host.eventLoop(),
                                             host.clock());
        engine.setTrace(&counter);
        engine.RunEffect(effect);
    }
    // What the window shows, read back from the server.
    Image onScreen() const {
        XSync(fl_display, False);
        Image result(picture2.width(), picture2.height());
        XImage* xi =
            XGetImage(fl_display, fl_xid(window), 0, 0, static_cast<unsigned>(result.width),
                      static_cast<unsigned>(result.height), AllPlanes, ZPixmap);
        if (xi == nullptr) return result;
        for (int y = 0; y < result.height; ++y)
            for (int x = 0; x < result.width; ++x) {
                unsigned long p = XGetPixel(xi, x, y);
                result.at(x, y) =
                    imaging::rgb(static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                                 static_cast<uint8_t>(p));
            }
        XDestroyImage(xi);
        return result;
    }
    // The surface's pixels as the screen can hold them (X keeps no alpha).
    Image opaque() const {
        Image result = picture2.snapshot();
        for (imaging::Pixel& p : result.pixels) p |= 0xFF000000u;
        return result;
    }
    ScreenPresenter& presenter() { return host.forms().presenter(); }

    FltkHost host;
    headless::HeadlessScreen screen;
    FltkSurface picture1;
    FltkSurface picture2;
    SaverState state;
    Fl_Window top;
    PictureWindow* window = nullptr;
};

TEST(PicturePresenting, EveryEffectShowsTheHeadlessFramesOnScreen) {
    const golden::Entries golden = golden::readGoldenFile(PICTAVO_GOLDEN_FILE);
    ShownPictures shown(67, 45);
    for (int effect = 0; effect < transitions::kEffectCount; ++effect) {
        golden::playGoldenFrames(
            effect, shown.picture1, shown.picture2, shown.host.eventLoop(), shown.host.clock(),
            [&](const std::string& key, bool cut) {
                SCOPED_TRACE(key);
                // A whole effect presents what is left at its end; a cut one
                // is presented here.
                if (cut) shown.host.eventLoop().presentDrawing(EventLoop::Present::Now);
                EXPECT_EQ(golden.at(key),
                          golden::hexHash(golden::pixelHash(shown.picture2.snapshot())));
                EXPECT_EQ(shown.onScreen().pixels, shown.opaque().pixels);
            });
    }
}

TEST(PicturePresenting, AStepThatChangesOneBlockPresentsOnlyThatBlock) {
    ShownPictures shown(200, 150);
    shown.reset();
    const uint64_t presents = shown.presenter().presents();
    const uint64_t pixels = shown.presenter().pixelsPresented();
    shown.picture2.copyFrom(shown.picture1, 30, 40, 10, 10, 30, 40);
    shown.host.eventLoop().presentDrawing(EventLoop::Present::Now);
    EXPECT_EQ(shown.presenter().presents(), presents + 1);
    EXPECT_EQ(shown.presenter().pixelsPresented(), pixels + 100);
    EXPECT_EQ(shown.onScreen().pixels, shown.opaque().pixels);
    // Nothing changed since: nothing more is sent.
    shown.host.eventLoop().presentDrawing(EventLoop::Present::Now);
    EXPECT_EQ(shown.presenter().presents(), presents + 1);
}

TEST(PicturePresenting, ATransitionPresentsAtMostOncePerDisplayFrame) {
    ShownPictures shown(640, 480);
    shown.state.Speed = 1;
    // Blocks and columns: thousands of steps a second, far more than frames.
    for (int effect : {26, 30}) {
        SCOPED_TRACE(effect);
        shown.reset();
        PauseCounter count;
        count.speed = 1;
        const uint64_t before = shown.presenter().presents();
        const auto start = std::chrono::steady_clock::now();
        shown.run(effect, count);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const uint64_t presents = shown.presenter().presents() - before;
        const double frames = seconds / 0.016 + 2;
        EXPECT_GT(count.pauses, 4 * frames);  // else the bound below proves nothing
        EXPECT_GE(presents, 1u);
        EXPECT_LE(static_cast<double>(presents), frames);
        EXPECT_EQ(shown.onScreen().pixels, shown.opaque().pixels);
    }
}

}  // namespace
}  // namespace pictavo::platform::fltk
