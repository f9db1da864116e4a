#include "slideshow/password_prompt.h"

#include <gtest/gtest.h>

#include "show_fixture.h"

namespace pictavo::slideshow {
namespace {

using testing::ShowFixture;

// A show with the password switch on, its prompt opened by a mouse move.
struct PromptFixture : ShowFixture {
    explicit PromptFixture(const std::string& password = "secret", uint32_t platformId = 1) {
        state.UsePassword = 1;
        state.Password = password.empty() ? "" : testing::fakeEncode(password);
        host.system().setPlatformId(platformId);
        start();
        frmSS().mouseMove("Picture2", 1, 1);
        frmSS().mouseMove("Picture2", 2, 1);
    }
    platform::headless::HeadlessForm& form() { return *prompt(); }
};

TEST(PasswordPrompt, OpensCentredOnTopWithTheFocusInTheMaskedText) {
    PromptFixture show;
    ASSERT_NE(show.prompt(), nullptr);
    auto& form = show.form();
    EXPECT_EQ(form.caption(), "Pictavo/32");
    EXPECT_TRUE(form.visible());
    EXPECT_FALSE(form.shownModal());
    EXPECT_TRUE(show.host.windows().isTopmost(form.handle()));
    // 64 x 48 pixels at 15 twips: 960 x 720 twips; the prompt is 4215 x 2130.
    EXPECT_EQ(form.bounds().left, 960 / 2 - 4215 / 2 - 1);  // -1627.5 rounds to even
    EXPECT_EQ(form.bounds().top, 720 / 2 - 2130 / 2);
    EXPECT_EQ(form.focused(), "Text1");
    const auto& text1 = form.control("Text1").design();
    EXPECT_EQ(text1.passwordChar, '*');
    form.type("Text1", std::string(30, 'x'));
    EXPECT_EQ(form.control("Text1").text().size(), 20u);
    EXPECT_EQ(form.control("Image1").design().resource, "padlock");
    EXPECT_FALSE(form.design().controlBox) << "only OK and Cancel leave the prompt";

    form.pressKey(9);  // Tab
    EXPECT_EQ(form.focused(), "Command1");
    form.repaint();
    EXPECT_EQ(form.focused(), "Text1");
}

TEST(PasswordPrompt, AWrongPasswordIsToldAndTheTextEmptiedForAnotherTry) {
    PromptFixture show;
    auto& form = show.form();
    for (int attempt = 0; attempt < 3; ++attempt) {
        form.type("Text1", "wrong");
        EXPECT_TRUE(form.click("Command2"));
        ASSERT_EQ(show.host.dialogs().shown().size(), static_cast<size_t>(attempt + 1));
        const auto& box = show.host.dialogs().shown().back();
        EXPECT_EQ(box.text, "Check your screen saver password and try again.");
        EXPECT_EQ(box.title, "Incorrect Password");
        EXPECT_EQ(box.style, 16);
        EXPECT_EQ(form.control("Text1").text(), "");
        EXPECT_EQ(form.focused(), "Text1");
        EXPECT_TRUE(form.loaded());
    }
    EXPECT_FALSE(show.ended());
}

TEST(PasswordPrompt, WhatIsTypedWhileTheRefusalsLoopStillRunsIsKept) {
    PromptFixture show;
    auto& form = show.form();
    std::string focusedUnderTheBox;
    show.host.dialogs().setOnShown([&](const auto&) {
        focusedUnderTheBox = form.focused();
        form.type("Text1", "SeCrEt");
    });
    form.type("Text1", "wrong");
    EXPECT_TRUE(form.click("Command2"));
    show.host.dialogs().setOnShown(nullptr);
    EXPECT_EQ(focusedUnderTheBox, "Text1");
    EXPECT_EQ(form.control("Text1").text(), "SeCrEt");
    form.pressKey(13);
    EXPECT_TRUE(show.ended());
}

TEST(PasswordPrompt, TheRightPasswordWithEnterEndsTheShowAndClearsTheFlagItSet) {
    PromptFixture show;
    EXPECT_TRUE(show.host.system().screenSaverRunning());
    auto& form = show.form();
    form.type("Text1", "SeCrEt");
    form.pressKey(13);
    EXPECT_FALSE(form.loaded());
    EXPECT_EQ(show.window->form(), nullptr);
    EXPECT_TRUE(show.ended());
    EXPECT_EQ(show.host.system().flagCalls(), (std::vector<bool>{true, false}));
    EXPECT_TRUE(show.host.dialogs().shown().empty());
}

TEST(PasswordPrompt, AFlagThatWasNeverSetIsNotCleared) {
    // An empty stored password: the flag stays alone, and only the empty text is accepted.
    PromptFixture show("");
    auto& form = show.form();
    form.type("Text1", "anything");
    form.click("Command2");
    EXPECT_EQ(show.host.dialogs().shown().size(), 1u);
    EXPECT_FALSE(show.ended());
    form.type("Text1", "");
    form.click("Command2");
    EXPECT_TRUE(show.ended());
    EXPECT_TRUE(show.host.system().flagCalls().empty());
}

TEST(PasswordPrompt, EscapeCancelsBackToTheRunningShow) {
    PromptFixture show;
    show.addPicture("a.bmp", 8, 8, imaging::rgb(1, 1, 1));
    auto& form = show.form();
    form.type("Text1", "half");
    form.pressKey(27);
    EXPECT_FALSE(form.loaded());
    EXPECT_FALSE(show.ended());
    EXPECT_TRUE(show.state.MouseOriginPending);
    EXPECT_EQ(show.host.cursor().displayCount(), -1);
    EXPECT_NE(show.window->form(), nullptr);
    size_t before = show.transitions.calls.size();
    show.runSeconds(2);
    EXPECT_EQ(show.transitions.calls.size(), before + 2);
    EXPECT_EQ(show.host.system().flagCalls(), (std::vector<bool>{true}));
}

TEST(PasswordPrompt, OpeningAgainAfterCancelGivesAFreshPrompt) {
    PromptFixture show;
    show.form().type("Text1", "half");
    show.form().click("Command1");
    show.frmSS().mouseMove("Picture2", 40, 40);
    show.frmSS().mouseMove("Picture2", 41, 40);
    ASSERT_NE(show.prompt(), nullptr);
    EXPECT_EQ(show.form().control("Text1").text(), "");
    EXPECT_EQ(show.form().focused(), "Text1");
}

}  // namespace
}  // namespace pictavo::slideshow
