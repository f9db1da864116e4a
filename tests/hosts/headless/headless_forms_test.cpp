// The headless host must behave as the desktop backends do, or tests on it
// prove nothing about them.
#include <gtest/gtest.h>

#include "hosts/headless/headless_host.h"

namespace pictavo::platform::headless {
namespace {

class Recorder : public FormHandler {
  public:
    void onEvent(Form&, Event& event) override {
        log.push_back(event.control + ":" + std::to_string(static_cast<int>(event.type)));
    }
    std::vector<std::string> log;
};

FormSpec dialog() {
    FormSpec design;
    design.name = "Dialog";
    design.caption = "Dialog";
    design.clientWidth = 3000;
    design.clientHeight = 2000;
    auto control = [](const char* name, ControlKind kind, int tabIndex) {
        ControlSpec c;
        c.name = name;
        c.kind = kind;
        c.tabIndex = tabIndex;
        return c;
    };
    ControlSpec text = control("Text1", ControlKind::TextBox, 0);
    text.passwordChar = '*';
    text.maxLength = 3;
    ControlSpec ok = control("OK", ControlKind::Button, 1);
    ok.isDefault = true;
    ControlSpec cancel = control("Cancel", ControlKind::Button, 2);
    cancel.isCancel = true;
    ControlSpec a = control("A", ControlKind::OptionButton, -1);
    ControlSpec b = control("B", ControlKind::OptionButton, -1);
    b.value = 1;
    design.controls = {text, ok, cancel, a, b};
    return design;
}

TEST(HeadlessForms, TextLimitsCountCharactersNotBytes) {
    HeadlessHost host;
    Recorder recorder;
    auto form = host.forms().create(dialog(), recorder, nullptr);
    auto& headless = static_cast<HeadlessForm&>(*form);
    headless.type("Text1", "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9");
    EXPECT_EQ(form->control("Text1").text(), "\xC3\xA9\xC3\xA9\xC3\xA9");
}

TEST(HeadlessForms, OptionButtonsOfOneContainerAreExclusive) {
    HeadlessHost host;
    Recorder recorder;
    auto form = host.forms().create(dialog(), recorder, nullptr);
    auto& headless = static_cast<HeadlessForm&>(*form);
    headless.click("A");
    EXPECT_EQ(form->control("A").value(), 1);
    EXPECT_EQ(form->control("B").value(), 0);
    form->control("B").setValue(1);
    EXPECT_EQ(form->control("A").value(), 0);
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"A:0"}))
        << "setting a value from code raises no event";
}

TEST(HeadlessForms, AnUnloadedFormIsGoneFromTheWindowList) {
    HeadlessHost host;
    Recorder recorder;
    auto form = host.forms().create(dialog(), recorder, nullptr);
    EXPECT_NE(host.windows().findWindowByTitle("Dialog"), 0);
    form->unload();
    EXPECT_EQ(host.windows().findWindowByTitle("Dialog"), 0);
    EXPECT_FALSE(host.forms().anyLoaded());
}

}  // namespace
}  // namespace pictavo::platform::headless
