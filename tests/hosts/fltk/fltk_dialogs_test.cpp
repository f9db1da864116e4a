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

}  // namespace
}  // namespace pictavo::platform::fltk
