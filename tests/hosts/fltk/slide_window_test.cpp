// frmSS on the desktop host: the full-screen show as the core drives it,
// seen from the screen and driven with real input.

#include "slideshow/slide_window.h"

#include <FL/Fl.H>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <functional>

#include "config/password_encoding.h"
#include "hosts/fltk/fltk_host.h"
#include "startup/main.h"
#include "x11_probe.h"
#include "xvfb_environment.h"

namespace pictavo::platform::fltk {
namespace {

using pictavo::testing::pumpFor;
using pictavo::testing::pumpUntil;
using pictavo::testing::X11Probe;
using pictavo::testing::xdotool;

// A wipe in eight bands, yielding to the loop between them as every effect
// does: enough of a transition to see input handled in the middle of one.
class BandWipe : public slideshow::TransitionRunner {
  public:
    explicit BandWipe(EventLoop& loop) : loop_(loop) {}
    void Transition(int16_t, Surface& picture1, Surface& picture2) override {
        int band = (picture1.height() + 7) / 8;
        for (int i = 0; i < 8 && !loop_.endRequested(); ++i) {
            picture2.copyFrom(picture1, 0, i * band, picture1.width(), band, 0, i * band);
            loop_.doEvents();
            usleep(10'000);
        }
    }

  private:
    EventLoop& loop_;
};

// Acts once when a window of that title is there, from whatever loop runs.
class WhenShown {
  public:
    WhenShown(FltkHost& host, std::string title, std::function<void()> act)
        : host_(host), title_(std::move(title)), act_(std::move(act)) {
        Fl::add_timeout(0.1, poll, this);
    }
    ~WhenShown() { Fl::remove_timeout(poll, this); }

  private:
    static void poll(void* self) {
        auto* when = static_cast<WhenShown*>(self);
        if (when->host_.windows().findWindowByTitle(when->title_) == 0) {
            Fl::repeat_timeout(0.1, poll, self);
            return;
        }
        when->act_();
    }
    FltkHost& host_;
    std::string title_;
    std::function<void()> act_;
};

class SlideWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        measureScreen(host.screen(), state);
        state.PicturePath = std::string(PICTAVO_SOURCE_DIR) + "/samples/";
        state.Interval = 10;
    }
    void start() {
        frmSS.show();
        ASSERT_NE(frmSS.form(), nullptr);
        ASSERT_TRUE(pumpUntil([&] { return probe.mapped(window()); }));
    }
    unsigned long window() { return static_cast<unsigned long>(frmSS.form()->handle()); }
    // Pixels of the screen's middle that are not black.
    int litPixelsInTheMiddle() {
        int lit = 0;
        for (int y = 284; y < 484; y += 10)
            for (int x = 412; x < 612; x += 10) lit += probe.screenPixel(x, y) != 0 ? 1 : 0;
        return lit;
    }
    bool ended() { return host.eventLoop().endRequested(); }

    FltkHost host;
    X11Probe probe;
    SaverState state;
    BandWipe wipe{host.eventLoop()};
    slideshow::SlideWindow frmSS{
        host, state, wipe, [](const std::string& typed) { return config::EncodePassword(typed); }};
};

TEST_F(SlideWindowTest, CoversTheScreenInBlackThenShowsAPictureAfterTheFirstTick) {
    xdotool("mousemove 5 5");
    start();
    EXPECT_EQ(probe.width(window()), 1024);
    EXPECT_EQ(probe.height(window()), 768);
    auto states = probe.states(window());
    EXPECT_NE(std::find(states.begin(), states.end(), "_NET_WM_STATE_ABOVE"), states.end());
    EXPECT_NE(std::find(states.begin(), states.end(), "_NET_WM_STATE_FULLSCREEN"), states.end());
    EXPECT_TRUE(host.cursor().hidden());
    pumpFor(0.3);
    EXPECT_EQ(litPixelsInTheMiddle(), 0);  // black until the first tick

    EXPECT_TRUE(pumpUntil([&] { return litPixelsInTheMiddle() > 0; }, 4.0));
    EXPECT_FALSE(ended());
}

TEST_F(SlideWindowTest, AKeyEndsTheShowAtOnce) {
    start();
    ASSERT_TRUE(pumpUntil([&] { return litPixelsInTheMiddle() > 0; }, 4.0));
    xdotool("key a");
    EXPECT_TRUE(pumpUntil([&] { return ended(); }, 2.0));
    EXPECT_FALSE(host.cursor().hidden());
}

TEST_F(SlideWindowTest, TheFirstPointerPositionIsNoMoveButOnePixelIs) {
    xdotool("mousemove 300 300");
    start();
    pumpFor(1.5);  // the pointer rests over the opened window
    EXPECT_FALSE(ended());
    xdotool("mousemove_relative 1 0");
    // Seen before the saver handles the move: the pointer was hidden.
    EXPECT_FALSE(probe.pointerVisible());
    EXPECT_TRUE(pumpUntil([&] { return ended(); }, 2.0));
}

TEST_F(SlideWindowTest, ThePasswordPromptGuardsTheShow) {
    state.UsePassword = 1;
    state.Password = config::EncodePassword("secret");
    start();
    xdotool("key x");
    WindowHandle prompt = 0;
    ASSERT_TRUE(
        pumpUntil([&] { return (prompt = host.windows().findWindowByTitle("Pictavo/32")) != 0; }));
    ASSERT_TRUE(pumpUntil([&] { return probe.mapped(static_cast<unsigned long>(prompt)); }));
    pumpFor(0.3);
    auto states = probe.states(static_cast<unsigned long>(prompt));
    EXPECT_NE(std::find(states.begin(), states.end(), "_NET_WM_STATE_ABOVE"), states.end());
    EXPECT_FALSE(ended());

    // The refusal is a modal message box with a loop of its own: it is
    // answered from inside that loop, once it is on screen.
    bool refused = false;
    WhenShown answer(host, "Incorrect Password", [&] {
        refused = true;
        xdotool("key Return");
    });
    xdotool("type --delay 20 wrong");
    xdotool("key Return");
    ASSERT_TRUE(pumpUntil([&] { return refused; }));
    EXPECT_FALSE(ended());
    ASSERT_TRUE(
        pumpUntil([&] { return host.windows().findWindowByTitle("Incorrect Password") == 0; }));
    pumpFor(0.3);
    xdotool("type --delay 20 SeCrEt");  // the case of the letters does not matter
    xdotool("key Return");
    EXPECT_TRUE(pumpUntil([&] { return ended(); }, 2.0));
}

}  // namespace
}  // namespace pictavo::platform::fltk
