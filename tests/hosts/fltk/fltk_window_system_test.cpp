#include "hosts/fltk/fltk_window_system.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "form_testing.h"
#include "hosts/fltk/fltk_host.h"
#include "x11_probe.h"
#include "xvfb_environment.h"

namespace pictavo::platform::fltk {
namespace {

using pictavo::testing::everyKindLayout;
using pictavo::testing::pumpFor;
using pictavo::testing::pumpUntil;
using pictavo::testing::RecordingHandler;
using pictavo::testing::X11Probe;

class FltkWindowSystemTest : public ::testing::Test {
  protected:
    WindowSystem& windows() { return host.windows(); }
    static unsigned long x(WindowHandle handle) { return static_cast<unsigned long>(handle); }

    FltkHost host;
    X11Probe probe;  // another program's connection
    RecordingHandler handler;
};

TEST_F(FltkWindowSystemTest, FindsTopLevelWindowsByTheirWholeTitle) {
    auto other = probe.createWindow("Screen Saver Main Form", 10, 10, 50, 50);
    EXPECT_EQ(windows().findWindowByTitle("Screen Saver Main Form"),
              static_cast<WindowHandle>(other));
    EXPECT_EQ(windows().findWindowByTitle("Screen Saver Main"), 0);
    EXPECT_EQ(windows().findWindowByTitle("No such window"), 0);

    // The program's own forms count as soon as they have a window, shown or not.
    FormSpec design = everyKindLayout();
    design.caption = "Configure Pictavo";
    auto form = host.forms().create(design, handler, nullptr);
    WindowHandle handle = form->handle();
    EXPECT_EQ(windows().findWindowByTitle("Configure Pictavo"), handle);
    form->setCaption("Renamed");
    EXPECT_EQ(windows().findWindowByTitle("Renamed"), handle);
}

TEST_F(FltkWindowSystemTest, KnowsWhichWindowsExistAndTheirSize) {
    auto other = probe.createWindow("Preview", 10, 10, 152, 112);
    EXPECT_TRUE(windows().isWindow(static_cast<WindowHandle>(other)));
    ClientRect rect = windows().clientRect(static_cast<WindowHandle>(other));
    EXPECT_EQ(rect.right - rect.left, 152);
    EXPECT_EQ(rect.bottom - rect.top, 112);
    probe.destroyWindow(other);
    EXPECT_FALSE(windows().isWindow(static_cast<WindowHandle>(other)));
    ClientRect gone = windows().clientRect(static_cast<WindowHandle>(other));
    EXPECT_EQ(gone.right, 0);
    EXPECT_FALSE(windows().isWindow(0));
    EXPECT_FALSE(windows().isWindow(0x7FFFFF00));
}

TEST_F(FltkWindowSystemTest, LendsAPictureToAnotherProgramsWindowAndTakesItBack) {
    FormSpec design = everyKindLayout();
    design.style = FormStyle::Hidden;
    auto form = host.forms().create(design, handler, nullptr);
    auto preview = probe.createWindow("Preview", 100, 100, 152, 112);
    Control& picture = form->control("Picture2");
    picture.move({0, 0, 152 * 15, 112 * 15});
    picture.surface()->clear(bgr(255, 0, 0));

    WindowHandle previous =
        windows().setParent(picture.handle(), static_cast<WindowHandle>(preview));
    EXPECT_EQ(previous, form->handle());
    EXPECT_EQ(probe.parent(x(picture.handle())), preview);
    pumpFor(0.3);
    EXPECT_EQ(probe.screenPixel(100 + 70, 100 + 50), 0xFF0000u);  // shown in the preview

    windows().setParent(picture.handle(), form->handle());
    EXPECT_EQ(probe.parent(x(picture.handle())), x(form->handle()));
    EXPECT_EQ(windows().setParent(0x7FFFFF00, static_cast<WindowHandle>(preview)), 0);
}

TEST_F(FltkWindowSystemTest, ReportsCloseWhenTheLentWindowDiesWithItsHost) {
    FormSpec design = everyKindLayout();
    design.style = FormStyle::Hidden;
    auto form = host.forms().create(design, handler, nullptr);
    auto preview = probe.createWindow("Preview", 100, 100, 152, 112);
    WindowHandle picture = form->control("Picture2").handle();
    std::vector<uint32_t> reports;
    auto hook = windows().hookMessage(picture, WindowSystem::kWmClose,
                                      [&](uint32_t m) { reports.push_back(m); });
    windows().setParent(picture, static_cast<WindowHandle>(preview));
    pumpFor(0.2);
    EXPECT_TRUE(reports.empty());

    probe.destroyWindow(preview);
    ASSERT_TRUE(pumpUntil([&] { return !reports.empty(); }));
    pumpFor(0.2);
    EXPECT_EQ(reports, std::vector<uint32_t>{WindowSystem::kWmClose});
    // The program's form outlives its picture's window, and can still go.
    EXPECT_TRUE(form->loaded());
    form->unload();
    pumpFor(0.1);
}

TEST_F(FltkWindowSystemTest, ReportsCloseRequestsUntilUnhooked) {
    auto form = host.forms().create(everyKindLayout(), handler, nullptr);
    int reports = 0;
    auto hook =
        windows().hookMessage(form->handle(), WindowSystem::kWmClose, [&](uint32_t) { ++reports; });
    probe.sendDeleteWindow(x(form->handle()));
    ASSERT_TRUE(pumpUntil([&] { return reports == 1; }));

    hook.reset();
    probe.sendDeleteWindow(x(form->handle()));
    pumpFor(0.2);
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(handler.count(EventType::Close), 2);  // the form heard both
}

TEST_F(FltkWindowSystemTest, ReportsCloseWhenAnotherProgramsWindowIsDestroyed) {
    auto other = probe.createWindow("Host", 10, 10, 50, 50);
    int reports = 0;
    auto hook = windows().hookMessage(static_cast<WindowHandle>(other), WindowSystem::kWmClose,
                                      [&](uint32_t) { ++reports; });
    probe.destroyWindow(other);
    ASSERT_TRUE(pumpUntil([&] { return reports == 1; }));
    pumpFor(0.2);
    EXPECT_EQ(reports, 1);
}

TEST_F(FltkWindowSystemTest, TopmostIsAWindowManagerStateOfTopLevelWindowsOnly) {
    auto form = host.forms().create(everyKindLayout(), handler, nullptr);
    windows().setTopmost(form->handle());
    pumpFor(0.1);
    auto states = probe.states(x(form->handle()));
    EXPECT_NE(std::find(states.begin(), states.end(), "_NET_WM_STATE_ABOVE"), states.end());

    // A window inside another has no place among the desktop's windows.
    auto outer = probe.createWindow("Host", 10, 10, 50, 50);
    auto child = probe.createWindow("Child", 0, 0, 10, 10);
    windows().setParent(static_cast<WindowHandle>(child), static_cast<WindowHandle>(outer));
    windows().setTopmost(static_cast<WindowHandle>(child));
    EXPECT_TRUE(probe.states(child).empty());
}

}  // namespace
}  // namespace pictavo::platform::fltk
