#include "hosts/fltk/fltk_dialogs.h"

#include <FL/Fl.H>
#include <gtest/gtest.h>

#include <functional>

#include "hosts/fltk/fltk_host.h"
#include "x11_probe.h"
#include "xvfb_environment.h"

namespace pictavo::platform::fltk {
namespace {

using pictavo::testing::xdotool;

// What the user does once a box is open: runs inside the box's own loop.
class WhileOpen {
  public:
    explicit WhileOpen(std::function<void()> act) : act_(std::move(act)) {
        Fl::add_timeout(0.4, run, this);
    }
    ~WhileOpen() { Fl::remove_timeout(run, this); }

  private:
    static void run(void* self) { static_cast<WhileOpen*>(self)->act_(); }
    std::function<void()> act_;
};

class FltkDialogsTest : public ::testing::Test {
  protected:
    FltkHost host;
    pictavo::testing::X11Probe probe;
};

TEST_F(FltkDialogsTest, AMessageBoxShowsItsTitleAndClosesWithEnter) {
    WindowHandle found = 0;
    WhileOpen user([&] {
        found = host.windows().findWindowByTitle("Nothing to Display");
        xdotool("key Return");
    });
    int answer = host.dialogs().messageBox("No Pictures in /home/me/empty", "Nothing to Display",
                                           kMbIconExclamation);
    EXPECT_EQ(answer, 1);
    EXPECT_NE(found, 0);
    // Gone once answered.
    Fl::wait(0.1);
    EXPECT_EQ(host.windows().findWindowByTitle("Nothing to Display"), 0);
}

TEST_F(FltkDialogsTest, TheInputBoxGivesWhatWasTyped) {
    WhileOpen user([] { xdotool("type --delay 20 40000"), xdotool("key Return"); });
    std::optional<std::string> answer = host.dialogs().inputBox(
        "Enter the number of seconds between slides", "Configure slide interval", "");
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(*answer, "40000");
}

TEST_F(FltkDialogsTest, TheInputBoxStartsWithItsDefault) {
    WhileOpen user([] { xdotool("key Return"); });
    EXPECT_EQ(host.dialogs().inputBox("Prompt", "Title", "12"), std::optional<std::string>("12"));
}

TEST_F(FltkDialogsTest, EscCancelsTheInputBox) {
    WindowHandle found = 0;
    WhileOpen user([&] {
        found = host.windows().findWindowByTitle("Configure slide interval");
        xdotool("type abc"), xdotool("key Escape");
    });
    EXPECT_EQ(host.dialogs().inputBox("Enter the number of seconds between slides",
                                      "Configure slide interval", ""),
              std::nullopt);
    EXPECT_NE(found, 0);
}

}  // namespace
}  // namespace pictavo::platform::fltk
