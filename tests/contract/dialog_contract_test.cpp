// How every host's dialogs treat the keyboard, the focus and clicks: one
// source, built into the headless tests, the desktop host's tests on a
// virtual X display (real key and pointer events) and the Windows host's
// tests under Wine (real input messages).

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/change_password_dialog.h"
#include "config/config_dialog.h"
#include "config/input_box.h"
#include "config/password_encoding.h"
#include "contract/contract_host.h"
#include "contract/dialog_driver.h"
#include "platform/keys.h"
#include "state/saver_state.h"

namespace pictavo::testing {
namespace {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Event;
using platform::EventType;
using platform::Form;
using platform::FormSpec;

// The clicks, changes and key presses a form reported, as "Click Command1",
// "Change Text1", "KeyPress Text1 13", "KeyDown 65".
class EventLog : public platform::FormHandler {
  public:
    void onEvent(Form& form, Event& event) override {
        std::string line;
        switch (event.type) {
            case EventType::Click:
                line = "Click " + event.control;
                break;
            case EventType::Change:
                line = "Change " + event.control;
                break;
            case EventType::KeyPress:
                line = "KeyPress " + event.control + (event.control.empty() ? "" : " ") +
                       std::to_string(event.key);
                break;
            case EventType::KeyDown:
                line = "KeyDown " + std::to_string(event.key);
                break;
            default:
                return;  // paints, timers and the mouse vary by host
        }
        lines.push_back(line);
        if (react) react(form, event);
    }
    int count(const std::string& line) const {
        return static_cast<int>(std::count(lines.begin(), lines.end(), line));
    }

    std::vector<std::string> lines;
    std::function<void(Form&, Event&)> react;
};

ControlSpec control(const char* name, ControlKind kind, platform::TwipsRect rect, int tabIndex,
                    const char* caption = "", const char* parent = "") {
    ControlSpec design;
    design.name = name;
    design.kind = kind;
    design.rect = rect;
    design.tabIndex = tabIndex;
    design.caption = caption;
    design.parent = parent;
    return design;
}

// Tab order differs from the layout's order; a hidden and a disabled button
// sit in it; three options in a panel are one group; OK is the default
// button and Cancel the cancel button.
FormSpec keysLayout() {
    FormSpec design;
    design.name = "frmKeys";
    design.caption = "Keys";
    design.clientWidth = 6000;
    design.clientHeight = 4200;
    ControlSpec panel = control("Panel1", ControlKind::PictureBox, {3300, 120, 2400, 1500}, -1);
    panel.backColour = platform::bgr(192, 192, 192);
    ControlSpec hidden =
        control("Hidden1", ControlKind::Button, {120, 2640, 1200, 375}, 3, "Hidden");
    hidden.visible = false;
    ControlSpec disabled =
        control("Disabled1", ControlKind::Button, {1500, 2640, 1200, 375}, 4, "&Disabled");
    disabled.enabled = false;
    ControlSpec two =
        control("Opt2", ControlKind::OptionButton, {120, 540, 2000, 300}, 6, "T&wo", "Panel1");
    two.value = 1;
    ControlSpec ok = control("Command1", ControlKind::Button, {120, 3240, 1200, 375}, 8, "OK");
    ok.isDefault = true;
    ControlSpec cancel =
        control("Command2", ControlKind::Button, {1500, 3240, 1200, 375}, 9, "Cancel");
    cancel.isCancel = true;
    design.controls = {
        panel,
        control("Label1", ControlKind::Label, {120, 180, 1100, 255}, -1, "&Name:"),
        control("Text1", ControlKind::TextBox, {1320, 120, 1800, 315}, 1),
        control("Label2", ControlKind::Label, {120, 660, 1100, 255}, -1, "&Second:"),
        control("Text2", ControlKind::TextBox, {1320, 600, 1800, 315}, 0),
        control("Check1", ControlKind::CheckBox, {120, 1200, 2400, 300}, 2, "&Check"),
        hidden,
        disabled,
        control("Opt1", ControlKind::OptionButton, {120, 120, 2000, 300}, 5, "&One", "Panel1"),
        two,
        control("Opt3", ControlKind::OptionButton, {120, 960, 2000, 300}, 7, "Th&ree", "Panel1"),
        ok,
        cancel,
        control("Command3", ControlKind::Button, {2880, 3240, 1200, 375}, 10, "&About"),
    };
    return design;
}

class DialogContract : public ::testing::Test {
  protected:
    DialogContract() : driver(makeDialogDriver()), host(driver->host()) {}

    Form& open(const FormSpec& design = keysLayout()) {
        forms.push_back(host.forms().create(design, log, nullptr));
        driver->show(*forms.back());
        return *forms.back();
    }
    std::string focus(Form& form) { return driver->focused(form); }
    // The control the focus lands on after each Tab (or Shift+Tab).
    std::vector<std::string> walk(Form& form, const std::string& key, int steps) {
        std::vector<std::string> seen;
        for (int i = 0; i < steps; ++i) {
            driver->keys(key);
            seen.push_back(focus(form));
        }
        return seen;
    }

    std::unique_ptr<DialogDriver> driver;
    ContractHost host;
    EventLog log;
    std::vector<std::unique_ptr<Form>> forms;
};

using Names = std::vector<std::string>;

// ---- focus and Tab ----

TEST_F(DialogContract, TheFocusStartsOnTheFirstTabStopThatCanTakeIt) {
    Form& first = open();
    EXPECT_EQ(focus(first), "Text2");  // tab index 0, second in the layout
    first.unload();

    FormSpec design = keysLayout();
    design.controls[4].enabled = false;  // Text2
    Form& second = open(design);
    EXPECT_EQ(focus(second), "Text1");
}

TEST_F(DialogContract, TabWalksTheEnabledShownStopsInTabOrderAndShiftTabBack) {
    Form& form = open();
    // Hidden1 and Disabled1 are passed over; the options are one stop, at
    // the chosen one.
    EXPECT_EQ(walk(form, "Tab", 7),
              (Names{"Text1", "Check1", "Opt2", "Command1", "Command2", "Command3", "Text2"}));
    EXPECT_EQ(walk(form, "shift+Tab", 3), (Names{"Command3", "Command2", "Command1"}));
    // A control enabled now takes its place in the order.
    form.control("Disabled1").setEnabled(true);
    form.control("Opt3").setValue(1);
    EXPECT_EQ(walk(form, "shift+Tab", 2), (Names{"Opt3", "Disabled1"}));
    EXPECT_TRUE(log.lines.empty()) << "moving the focus clicks nothing";
}

// ---- option groups ----

TEST_F(DialogContract, ArrowsMoveInsideAnOptionGroupAndChooseAndClickTheOptionReached) {
    Form& form = open();
    driver->keys("Tab Tab Tab");
    ASSERT_EQ(focus(form), "Opt2");
    driver->keys("Down");
    EXPECT_EQ(focus(form), "Opt3");
    EXPECT_EQ(form.control("Opt3").value(), 1);
    EXPECT_EQ(form.control("Opt2").value(), 0);
    driver->keys("Down");  // round to the first
    EXPECT_EQ(focus(form), "Opt1");
    driver->keys("Up");
    EXPECT_EQ(focus(form), "Opt3");
    EXPECT_EQ(log.lines, (Names{"Click Opt3", "Click Opt1", "Click Opt3"}));

    form.control("Opt1").setEnabled(false);  // passed over
    driver->keys("Right");
    EXPECT_EQ(focus(form), "Opt2");
    EXPECT_EQ(form.control("Opt1").value(), 0);
    // Tab leaves the group; coming back lands on the option chosen last.
    driver->keys("Tab shift+Tab");
    EXPECT_EQ(focus(form), "Opt2");
}

// ---- access keys ----

TEST_F(DialogContract, AccessKeysFocusTheControlAfterALabelAndClickTheOthers) {
    Form& form = open();
    driver->keys("alt+n");  // "&Name:" introduces Text1
    EXPECT_EQ(focus(form), "Text1");
    driver->type("ca");  // in a text box a letter alone is typing
    EXPECT_EQ(form.control("Text1").text(), "ca");
    EXPECT_EQ(log.count("Click Check1"), 0);
    driver->keys("alt+c");
    EXPECT_EQ(focus(form), "Check1");
    EXPECT_EQ(form.control("Check1").value(), 1);
    driver->keys("c");  // on a check box the letter alone is enough
    EXPECT_EQ(form.control("Check1").value(), 0);
    driver->keys("a");
    EXPECT_EQ(focus(form), "Command3");
    driver->keys("alt+s");
    EXPECT_EQ(focus(form), "Text2");
    driver->keys("alt+w");  // an option is chosen too
    EXPECT_EQ(focus(form), "Opt2");
    EXPECT_EQ(log.lines, (Names{"Change Text1", "Change Text1", "Click Check1", "Click Check1",
                                "Click Command3", "Click Opt2"}));

    log.lines.clear();
    driver->keys("alt+d");  // a disabled button does not answer
    form.control("Label1").setEnabled(false);
    driver->keys("alt+n");
    EXPECT_EQ(focus(form), "Opt2");
    EXPECT_TRUE(log.lines.empty());
}

// ---- Enter, Esc and Space ----

TEST_F(DialogContract, EnterGoesToTheTextBoxThenTheDefaultButtonAndEscToTheCancelButton) {
    Form& form = open();
    driver->keys("Return");
    driver->keys("Escape");
    EXPECT_EQ(log.lines, (Names{"KeyPress Text2 13", "Click Command1", "KeyPress Text2 27",
                                "Click Command2"}));
    EXPECT_EQ(focus(form), "Text2") << "the buttons are pressed where the focus is";

    // A text box that keeps Enter for itself presses nothing.
    log.lines.clear();
    log.react = [](Form&, Event& event) {
        if (event.type == EventType::KeyPress) event.key = 0;
    };
    driver->keys("Return Escape");
    EXPECT_EQ(log.lines, (Names{"KeyPress Text2 13", "KeyPress Text2 27"}));
}

TEST_F(DialogContract, EnterWithTheDefaultButtonDisabledPressesNothing) {
    Form& form = open();
    form.control("Command1").setEnabled(false);
    form.control("Command2").setVisible(false);
    driver->keys("Tab Tab");  // to the check box: no text box sees the keys
    ASSERT_EQ(focus(form), "Check1");
    driver->keys("Return Escape");
    EXPECT_TRUE(log.lines.empty());
    EXPECT_TRUE(form.loaded());
}

TEST_F(DialogContract, EnterAndSpacePressTheFocusedButtonSpaceTogglesACheckBox) {
    Form& form = open();
    driver->keys("shift+Tab");
    ASSERT_EQ(focus(form), "Command3");
    driver->keys("Return");  // the focused button, not the default one
    driver->keys("space");
    EXPECT_EQ(log.lines, (Names{"Click Command3", "Click Command3"}));
    driver->keys("Tab Tab Tab");
    ASSERT_EQ(focus(form), "Check1");
    driver->keys("space");
    EXPECT_EQ(form.control("Check1").value(), 1);
    driver->keys("Return");  // a check box has no Enter of its own
    EXPECT_EQ(log.lines.back(), "Click Command1");
}

TEST_F(DialogContract, WithKeyPreviewTheFormSeesEveryKeyFirstAndMaySwallowIt) {
    FormSpec design = keysLayout();
    design.keyPreview = true;
    Form& form = open(design);
    log.react = [](Form&, Event& event) {
        if (event.type == EventType::KeyDown && (event.key == 'X' || event.key == 13))
            event.key = 0;
    };
    driver->type("xy");
    driver->keys("Return");
    EXPECT_EQ(form.control("Text2").text(), "y");
    EXPECT_EQ(log.count("KeyDown 88"), 1);
    EXPECT_EQ(log.count("KeyDown 89"), 1);
    EXPECT_EQ(log.count("KeyDown 13"), 1);
    EXPECT_EQ(log.count("Click Command1"), 0);
    EXPECT_EQ(log.count("KeyPress Text2 13"), 0);
}

// ---- clicks ----

TEST_F(DialogContract, AClickFocusesAndPressesAButtonCheckBoxOrOption) {
    Form& form = open();
    driver->click(form, "Check1");
    EXPECT_EQ(form.control("Check1").value(), 1);
    EXPECT_EQ(focus(form), "Check1");
    driver->click(form, "Opt3");
    EXPECT_EQ(form.control("Opt3").value(), 1);
    EXPECT_EQ(form.control("Opt2").value(), 0);
    driver->click(form, "Opt3");  // the chosen option clicked again is a click too
    driver->click(form, "Command3");
    EXPECT_EQ(focus(form), "Command3");
    form.control("Command1").setEnabled(false);
    driver->click(form, "Command1");
    EXPECT_EQ(log.lines, (Names{"Click Check1", "Click Opt3", "Click Opt3", "Click Command3"}));
}

// ---- a modal dialog ----

TEST_F(DialogContract, AModalDialogKeepsItsOwnerFromInputUntilItCloses) {
    Form& owner = open();
    FormSpec childDesign = keysLayout();
    childDesign.name = "frmChild";
    childDesign.caption = "Child";
    EventLog childLog;
    auto child = host.forms().create(childDesign, childLog, &owner);
    // Side by side, so that a click on the owner lands on the owner.
    owner.move({0, 0, owner.bounds().width, owner.bounds().height});
    child->move({owner.bounds().width + 300, 0, child->bounds().width, child->bounds().height});
    childLog.react = [](Form& form, Event& event) {
        if (event.type == EventType::Click && event.control == "Command1") form.unload();
    };
    driver->duringModal([&] { child->show(true); },
                        [&] {
                            driver->click(owner, "Command3");
                            driver->click(owner, "Check1");
                            EXPECT_EQ(owner.control("Check1").value(), 0);
                            driver->type("abc");
                            EXPECT_EQ(child->control("Text2").text(), "abc");
                            driver->keys("Return");  // the child's OK closes it
                        },
                        [&] {
                            if (child->loaded()) child->unload();
                        });
    EXPECT_FALSE(child->loaded());
    EXPECT_EQ(childLog.lines, (Names{"Change Text2", "Change Text2", "Change Text2",
                                     "KeyPress Text2 13", "Click Command1"}));
    EXPECT_TRUE(log.lines.empty()) << "the owner took input while the dialog was up";
    driver->click(owner, "Command3");
    EXPECT_EQ(log.lines, (Names{"Click Command3"}));
}

// ---- the program's own dialogs ----

class ProgramDialogs : public DialogContract {
  protected:
    SaverState state;
};

TEST_F(ProgramDialogs, EnterInThePasswordBoxesRunsOkOnceEvenWhileOkIsDisabled) {
    state.Password = config::EncodePassword("secret");
    config::ChangePasswordDialog dialog(host, state);
    Form* form = nullptr;
    const std::string wrongOld = "The value for Old Password is not correct.";
    auto boxes = [&] { return host.dialogs().shown().size(); };
    driver->duringModal(
        [&] { dialog.showModal(nullptr); },
        [&] {
            form = dialog.form();
            ASSERT_EQ(focus(*form), "Text1");
            driver->type("x");
            EXPECT_TRUE(form->control("PicBtn5").enabled());
            driver->keys("BackSpace");
            ASSERT_FALSE(form->control("PicBtn5").enabled());
            driver->keys("Return");
            ASSERT_EQ(boxes(), 1u);
            EXPECT_EQ(host.dialogs().shown()[0].text.rfind(wrongOld, 0), 0u);
            EXPECT_EQ(focus(*form), "Text1");

            driver->type("wrong");  // with OK enabled: still once
            driver->keys("Return");
            EXPECT_EQ(boxes(), 2u);

            driver->type("SECRET");
            EXPECT_EQ(walk(*form, "Tab", 4), (Names{"Text2", "Text3", "PicBtn5", "PicBtn4"}));
            driver->keys("alt+n");
            EXPECT_EQ(focus(*form), "Text2");
            driver->type("new1");
            driver->keys("alt+c");
            EXPECT_EQ(focus(*form), "Text3");
            driver->type("new1");
            driver->keys("Return");
        },
        [&] {
            if (dialog.form()->loaded()) dialog.form()->unload();
        });
    EXPECT_EQ(boxes(), 2u);
    EXPECT_EQ(state.Password, config::EncodePassword("new1"));
    EXPECT_EQ(host.settings().writeLog(),
              (Names{"ScreenSaver/Password=" + config::EncodePassword("new1")}));
}

TEST_F(ProgramDialogs, WithoutAPasswordTheNewBoxHasTheFocusAndEscWritesNothing) {
    config::ChangePasswordDialog dialog(host, state);
    driver->duringModal([&] { dialog.showModal(nullptr); },
                        [&] {
                            Form& form = *dialog.form();
                            EXPECT_EQ(focus(form), "Text2");
                            driver->keys("alt+o");  // "&Old password:" is disabled
                            EXPECT_EQ(focus(form), "Text2");
                            driver->keys("alt+c");
                            EXPECT_EQ(focus(form), "Text3");
                            driver->type("abc");
                            driver->keys("Escape");
                        },
                        [&] {
                            if (dialog.form()->loaded()) dialog.form()->unload();
                        });
    EXPECT_FALSE(dialog.form()->loaded());
    EXPECT_TRUE(host.settings().writeLog().empty());
    EXPECT_TRUE(host.dialogs().shown().empty());
}

TEST_F(ProgramDialogs, TheInputBoxStartsInItsTextBoxEnterTakesTheTextAndEscCancels) {
    config::InputBox box(host);
    std::vector<std::optional<std::string>> answers;
    auto ask = [&](const std::function<void()>& script) {
        driver->duringModal(
            [&] {
                box.ask("Enter the number of seconds between slides", "Configure slide interval",
                        "", nullptr, [&](const auto& answer) { answers.push_back(answer); });
            },
            script,
            [&] {
                if (box.form()->loaded()) box.form()->unload();
            });
    };
    ask([&] {
        Form& form = *box.form();
        EXPECT_EQ(form.caption(), "Configure slide interval");
        EXPECT_EQ(focus(form), "Answer");
        EXPECT_EQ(walk(form, "Tab", 3), (Names{"OK", "Cancel", "Answer"}));
        EXPECT_EQ(walk(form, "shift+Tab", 1), (Names{"Cancel"}));
        driver->keys("Tab");
        driver->type("12 5");
        driver->keys("Return");
    });
    ask([&] {
        driver->type("7");
        driver->keys("Escape");
    });
    EXPECT_FALSE(box.form()->loaded());
    EXPECT_EQ(answers, (std::vector<std::optional<std::string>>{"12 5", std::nullopt}));
}

class FolderListContract : public ProgramDialogs {
  protected:
    FolderListContract() {
        host.files().add("/a/b/c", {"c.bmp"});
        host.files().add("/a/b/d", {"d.png"});
        host.files().add("/a/b", {"b.jpg"});
        host.files().add("/a/b2", {"b2.jpg", "notes.txt"});
        state.PicturePath = "/a/b/";
        state.Interval = 10;
        state.Speed = 5;
    }
    using Rows = std::vector<std::string>;
    void run(const std::function<void(Form&)>& script) {
        driver->duringModal([&] { config_.show("Configure Pictavo"); },
                            [&] { script(*config_.form()); },
                            [&] {
                                if (config_.form()->loaded()) config_.form()->unload();
                            });
    }
    config::ConfigDialog config_{host, state};
};

TEST_F(FolderListContract, ArrowsMoveTheSelectionAndEnterOpensTheSelectedFolder) {
    run([&](Form& form) {
        platform::Control& dir = form.control("Dir1");
        EXPECT_EQ(dir.items(), (Rows{"/", "a", "b", "c", "d"}));
        EXPECT_EQ(dir.indents(), (std::vector<int>{0, 1, 2, 3, 3}));
        EXPECT_EQ(dir.selectedIndex(), 2);
        ASSERT_EQ(focus(form), "Drive1");
        driver->keys("Tab");
        ASSERT_EQ(focus(form), "Dir1");
        driver->keys("Down");
        EXPECT_EQ(dir.selectedIndex(), 3);
        EXPECT_EQ(form.control("File1").items(), Rows{"b.jpg"}) << "moving opens nothing";
        driver->keys("Up Up");  // past b to a, b's parent
        EXPECT_EQ(dir.selectedIndex(), 1);
        driver->keys("Return");  // opens a; OK is not pressed
        EXPECT_TRUE(form.loaded());
        EXPECT_EQ(dir.items(), (Rows{"/", "a", "b", "b2"}));
        EXPECT_EQ(dir.indents(), (std::vector<int>{0, 1, 2, 2}));
        EXPECT_EQ(dir.selectedIndex(), 1);
        EXPECT_TRUE(form.control("File1").items().empty());
        driver->keys("Down Down Return");  // b2, b's sibling
        EXPECT_EQ(form.control("File1").items(), Rows{"b2.jpg"});
        EXPECT_TRUE(host.settings().writeLog().empty());
        driver->keys("Tab Return");  // from the file list Enter is OK
    });
    EXPECT_FALSE(config_.form()->loaded());
    ASSERT_FALSE(host.settings().writeLog().empty());
    EXPECT_EQ(host.settings().writeLog()[0], "Pictavo/PicturePath=/a/b2");
}

TEST_F(FolderListContract, AClickSelectsAFolderADoubleClickOpensIt) {
    run([&](Form& form) {
        platform::Control& dir = form.control("Dir1");
        driver->clickRow(form, "Dir1", 4, false);  // d
        EXPECT_EQ(dir.selectedIndex(), 4);
        EXPECT_EQ(focus(form), "Dir1");
        EXPECT_EQ(form.control("File1").items(), Rows{"b.jpg"});
        driver->clickRow(form, "Dir1", 3, true);  // c
        EXPECT_EQ(form.control("File1").items(), Rows{"c.bmp"});
        EXPECT_EQ(dir.items(), (Rows{"/", "a", "b", "c"}));
        EXPECT_EQ(dir.selectedIndex(), 3);
    });
    EXPECT_TRUE(host.settings().writeLog().empty());
}

TEST_F(FolderListContract, TheDialogsTabOrderArrowsOnTheOptionsAndTheSpeedBar) {
    run([&](Form& form) {
        EXPECT_EQ(walk(form, "Tab", 10),
                  (Names{"Dir1", "File1", "btnStretch", "HScroll1", "Option3D8", "PicBtn2",
                         "PicBtn3", "PicBtn4", "PicBtn5", "Drive1"}));
        driver->keys("shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab");
        ASSERT_EQ(focus(form), "HScroll1");
        driver->keys("Right Right");
        EXPECT_EQ(form.control("HScroll1").value(), 7);
        EXPECT_EQ(form.control("TransSpeed").caption(), "7");
        driver->keys("Tab Down");  // "&20 Sec." is chosen as the arrow reaches it
        EXPECT_EQ(focus(form), "Option3D9");
        EXPECT_EQ(state.Interval, 20);
        // and "C&ustom Interval" asks for the seconds
        driver->duringModal([&] { driver->keys("Down"); },
                            [&] {
                                driver->type("45");
                                driver->keys("Return");
                            },
                            [&] {
                                config::InputBox* box = config_.intervalBox();
                                if (box != nullptr && box->form()->loaded()) box->form()->unload();
                            });
        EXPECT_EQ(focus(form), "Option3D10");
        EXPECT_EQ(state.Interval, 45);
        EXPECT_EQ(form.control("Option3D10").caption(), "Custom Interval (45 seconds )");
        driver->keys("alt+t");
        EXPECT_EQ(form.control("btnStretch").value(), 1);
        driver->keys("Escape");
    });
    EXPECT_FALSE(config_.form()->loaded());
    EXPECT_TRUE(host.settings().writeLog().empty());
}

}  // namespace
}  // namespace pictavo::testing
