// Forms built from layout tables, their controls and the message loop, on
// real windows.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "form_test_support.h"
#include "hosts/win32/handles.h"
#include "hosts/win32/win32_host.h"

namespace pictavo::platform::win32 {
namespace {

class FormsTest : public ::testing::Test {
  protected:
    // A quit request stays in the thread's queue; the next test starts without it.
    void TearDown() override {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    Win32Host host_;
    RecordingHandler handler_;
};

TEST_F(FormsTest, FixedDialogHasCaptionCloseBoxAndTheClientSizeInPixels) {
    auto form = host_.forms().create(dialogSpec("Configure Pictavo"), handler_, nullptr);
    ASSERT_TRUE(form->loaded());
    HWND window = hwndOf(*form);
    LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_NE(style & WS_SYSMENU, 0);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), 0);
    EXPECT_FALSE(IsWindowVisible(window));  // not before show
    EXPECT_EQ(form->caption(), "Configure Pictavo");

    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, static_cast<LONG>(std::lround(4800 / host_.screen().twipsPerPixelX())));
    EXPECT_EQ(client.bottom,
              static_cast<LONG>(std::lround(3000 / host_.screen().twipsPerPixelY())));
    TwipsRect size = form->clientSize();
    EXPECT_NEAR(size.width, 4800, host_.screen().twipsPerPixelX());
    EXPECT_NEAR(size.height, 3000, host_.screen().twipsPerPixelY());

    form->show(false);
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(FormsTest, AFixedDialogWithoutControlBoxHasNeitherWindowMenuNorCloseBox) {
    FormSpec design = dialogSpec("Pictavo/32");
    design.controlBox = false;
    auto form = host_.forms().create(design, handler_, nullptr);
    LONG style = GetWindowLongW(hwndOf(*form), GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(style & WS_SYSMENU, 0);
    EXPECT_EQ(GetSystemMenu(hwndOf(*form), FALSE), nullptr);
}

TEST_F(FormsTest, BorderlessAndHiddenForms) {
    FormSpec borderless = dialogSpec("Screen Saver Main Form");
    borderless.style = FormStyle::Borderless;
    borderless.topmost = true;
    auto slide = host_.forms().create(borderless, handler_, nullptr);
    LONG style = GetWindowLongW(hwndOf(*slide), GWL_STYLE);
    EXPECT_NE(style & WS_POPUP, 0);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_NE(GetWindowLongW(hwndOf(*slide), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

    FormSpec hiddenSpec = dialogSpec("");
    hiddenSpec.style = FormStyle::Hidden;
    auto hidden = host_.forms().create(hiddenSpec, handler_, nullptr);
    hidden->show(false);
    EXPECT_TRUE(hidden->loaded());
    EXPECT_FALSE(IsWindowVisible(hwndOf(*hidden)));
}

TEST_F(FormsTest, CloseIsReportedAndTheHandlerDecides) {
    auto form = host_.forms().create(dialogSpec("Pictavo Close Test"), handler_, nullptr);
    SendMessageW(hwndOf(*form), WM_CLOSE, 0, 0);
    EXPECT_EQ(handler_.types(), std::vector<EventType>{EventType::Close});
    EXPECT_TRUE(form->loaded());  // the handler did not unload it

    handler_.react = [](Form& closing, Event& event) {
        if (event.type == EventType::Close) closing.unload();
    };
    HWND window = hwndOf(*form);
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(form->loaded());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(form->handle(), 0);
}

TEST_F(FormsTest, RunEndsWhenTheLastFormUnloads) {
    handler_.react = [](Form& closing, Event& event) {
        if (event.type == EventType::Close) closing.unload();
    };
    auto first = host_.forms().create(dialogSpec("Pictavo Run Test 1"), handler_, nullptr);
    auto second = host_.forms().create(dialogSpec("Pictavo Run Test 2"), handler_, nullptr);
    PostMessageW(hwndOf(*first), WM_CLOSE, 0, 0);
    PostMessageW(hwndOf(*second), WM_CLOSE, 0, 0);
    host_.eventLoop().run();
    EXPECT_FALSE(first->loaded());
    EXPECT_FALSE(second->loaded());
    EXPECT_FALSE(host_.eventLoop().endRequested());
}

TEST_F(FormsTest, RunEndsOnRequestWhileWindowsRemain) {
    handler_.react = [this](Form&, Event& event) {
        if (event.type == EventType::Close) host_.eventLoop().requestEnd();
    };
    auto form = host_.forms().create(dialogSpec("Pictavo End Test"), handler_, nullptr);
    PostMessageW(hwndOf(*form), WM_CLOSE, 0, 0);
    host_.eventLoop().run();
    EXPECT_TRUE(host_.eventLoop().endRequested());
    EXPECT_TRUE(form->loaded());
}

TEST_F(FormsTest, ModalShowReturnsWhenTheFormUnloadsAndFreesTheOthers) {
    auto owner = host_.forms().create(dialogSpec("Pictavo Owner"), handler_, nullptr);
    auto dialog = host_.forms().create(dialogSpec("Pictavo Modal"), handler_, owner.get());
    bool ownerDisabledMeanwhile = false;
    handler_.react = [&](Form& form, Event& event) {
        if (event.type != EventType::Close) return;
        ownerDisabledMeanwhile = !IsWindowEnabled(hwndOf(*owner));
        form.unload();
    };
    PostMessageW(hwndOf(*dialog), WM_CLOSE, 0, 0);
    dialog->show(true);
    EXPECT_FALSE(dialog->loaded());
    EXPECT_TRUE(ownerDisabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(hwndOf(*owner)));
}

TEST_F(FormsTest, ButtonsCheckBoxesAndOptionGroupsReportClicks) {
    FormSpec design = dialogSpec("Pictavo Controls");
    design.controls = {control("OKButton", ControlKind::Button, {120, 120, 1200, 360}, 0),
                       control("btnStretch", ControlKind::CheckBox, {120, 600, 2400, 300}, 1),
                       control("Option1", ControlKind::OptionButton, {120, 1000, 1200, 300}, 2),
                       control("Option2", ControlKind::OptionButton, {120, 1400, 1200, 300}, 3),
                       control("Frame", ControlKind::PictureBox, {2400, 1000, 2000, 1500}),
                       control("Option3", ControlKind::OptionButton, {100, 100, 1200, 300}, 4)};
    design.controls[0].isDefault = true;
    design.controls[3].value = 1;
    design.controls[5].parent = "Frame";  // a group of its own
    design.controls[5].value = 1;
    auto form = host_.forms().create(design, handler_, nullptr);

    SendMessageW(hwndOf(form->control("OKButton")), BM_CLICK, 0, 0);
    EXPECT_TRUE(handler_.saw(EventType::Click, "OKButton"));

    SendMessageW(hwndOf(form->control("btnStretch")), BM_CLICK, 0, 0);
    EXPECT_TRUE(handler_.saw(EventType::Click, "btnStretch"));
    EXPECT_EQ(form->control("btnStretch").value(), 1);

    EXPECT_EQ(form->control("Option2").value(), 1);
    SendMessageW(hwndOf(form->control("Option1")), BM_CLICK, 0, 0);
    EXPECT_TRUE(handler_.saw(EventType::Click, "Option1"));
    EXPECT_EQ(form->control("Option1").value(), 1);
    EXPECT_EQ(form->control("Option2").value(), 0);
    EXPECT_EQ(form->control("Option3").value(), 1);  // another container, another group

    form->control("Option2").setValue(1);
    EXPECT_EQ(form->control("Option1").value(), 0);

    // A picture box holds its controls in its own window, placed within it.
    HWND frame = hwndOf(form->control("Frame"));
    EXPECT_EQ(GetParent(hwndOf(form->control("Option3"))), frame);
    RECT frameChild;
    GetWindowRect(hwndOf(form->control("Option3")), &frameChild);
    POINT topLeft{frameChild.left, frameChild.top};
    ScreenToClient(hwndOf(*form), &topLeft);
    EXPECT_EQ(topLeft.x, static_cast<LONG>(std::lround(2500 / host_.screen().twipsPerPixelX())));
}

TEST_F(FormsTest, TextBoxesHoldUtf8TextWithinTheirLimit) {
    FormSpec design = dialogSpec("Pictavo Text");
    design.controls = {control("PassWord", ControlKind::TextBox, {120, 120, 2400, 300}, 0)};
    design.controls[0].passwordChar = '*';
    design.controls[0].maxLength = 8;
    auto form = host_.forms().create(design, handler_, nullptr);
    Control& box = form->control("PassWord");
    HWND edit = hwndOf(box);

    EXPECT_EQ(SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0), '*');
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 8);

    box.setText(
        "\xC3\xA4"
        "bc");  // äbc
    EXPECT_EQ(box.text(),
              "\xC3\xA4"
              "bc");
    box.setText("0123456789");
    EXPECT_EQ(box.text(), "01234567");
    EXPECT_FALSE(handler_.saw(EventType::Change, "PassWord"));  // the program's own changes

    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CHAR, 'x', 0);  // typed by the user
    EXPECT_TRUE(handler_.saw(EventType::Change, "PassWord"));
}

TEST_F(FormsTest, TimersTickOnlyWhileEnabledWithAnInterval) {
    FormSpec design = dialogSpec("Pictavo Timer");
    design.controls = {control("Timer1", ControlKind::Timer, {})};
    design.controls[0].intervalMs = 10;
    auto form = host_.forms().create(design, handler_, nullptr);
    EXPECT_EQ(form->control("Timer1").handle(), 0);

    auto waitForTick = [this](int milliseconds) {
        int64_t deadline = host_.clock().nowMicros() + milliseconds * 1000;
        while (!handler_.saw(EventType::Timer, "Timer1") && host_.clock().nowMicros() < deadline) {
            host_.eventLoop().doEvents();
            Sleep(5);
        }
        return handler_.saw(EventType::Timer, "Timer1");
    };
    EXPECT_TRUE(waitForTick(3000));

    form->control("Timer1").setEnabled(false);
    handler_.events.clear();
    EXPECT_FALSE(waitForTick(200));

    form->control("Timer1").setInterval(0);
    form->control("Timer1").setEnabled(true);
    EXPECT_FALSE(waitForTick(200));
}

TEST_F(FormsTest, DialogKeysPressTheDefaultAndCancelButtons) {
    FormSpec design = dialogSpec("Pictavo Keys");
    design.controls = {control("Text1", ControlKind::TextBox, {120, 120, 2400, 300}, 0),
                       control("OKButton", ControlKind::Button, {120, 600, 1200, 360}, 1),
                       control("CancelButton", ControlKind::Button, {1500, 600, 1200, 360}, 2)};
    design.controls[1].isDefault = true;
    design.controls[2].isCancel = true;
    auto form = host_.forms().create(design, handler_, nullptr);
    form->show(false);
    form->control("Text1").setFocus();

    MSG enter{hwndOf(form->control("Text1")), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    ASSERT_TRUE(dynamic_cast<MessageFilter*>(form.get())->preTranslate(enter));
    EXPECT_TRUE(handler_.saw(EventType::Click, "OKButton"));

    MSG escape{hwndOf(form->control("Text1")), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    ASSERT_TRUE(dynamic_cast<MessageFilter*>(form.get())->preTranslate(escape));
    EXPECT_TRUE(handler_.saw(EventType::Click, "CancelButton"));
}

TEST_F(FormsTest, KeyPreviewSeesKeysFirstAndMaySwallowThem) {
    FormSpec design = dialogSpec("Pictavo Preview Keys");
    design.style = FormStyle::Borderless;
    design.keyPreview = true;
    design.controls = {control("Text1", ControlKind::TextBox, {120, 120, 2400, 300}, 0)};
    auto form = host_.forms().create(design, handler_, nullptr);
    handler_.react = [](Form&, Event& event) {
        if (event.type == EventType::KeyPress && event.key == 'a') event.key = 0;
        if (event.type == EventType::KeyPress && event.key == 'b') event.key = 'c';
    };
    MSG swallowed{hwndOf(form->control("Text1")), WM_CHAR, 'a', 0, 0, {}};
    EXPECT_TRUE(dynamic_cast<MessageFilter*>(form.get())->preTranslate(swallowed));
    MSG changed{hwndOf(form->control("Text1")), WM_CHAR, 'b', 0, 0, {}};
    EXPECT_FALSE(dynamic_cast<MessageFilter*>(form.get())->preTranslate(changed));
    EXPECT_EQ(changed.wParam, static_cast<WPARAM>('c'));
    ASSERT_EQ(handler_.events.size(), 2u);
    EXPECT_EQ(handler_.events[0].type, EventType::KeyPress);
    EXPECT_EQ(handler_.events[0].control, "");  // the form's own event, whoever had the focus
}

TEST_F(FormsTest, GraphicalKindsHaveNoWindowAndKeepTheirProperties) {
    FormSpec design = dialogSpec("Pictavo Graphical");
    design.controls = {control("Shape1", ControlKind::Shape, {10, 20, 30, 40})};
    auto form = host_.forms().create(design, handler_, nullptr);
    Control& shape = form->control("Shape1");
    EXPECT_EQ(shape.handle(), 0);
    EXPECT_EQ(shape.surface(), nullptr);
    shape.move({50, 60, 70, 80});
    shape.setVisible(false);
    shape.setCaption("kept");
    EXPECT_EQ(shape.bounds().left, 50);
    EXPECT_EQ(shape.bounds().height, 80);
    EXPECT_FALSE(shape.visible());
    EXPECT_EQ(shape.caption(), "kept");
    EXPECT_EQ(form->find("NoSuchControl"), nullptr);
}

}  // namespace
}  // namespace pictavo::platform::win32
