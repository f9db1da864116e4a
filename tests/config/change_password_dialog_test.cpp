#include "config/change_password_dialog.h"

#include <gtest/gtest.h>

#include "config/config_fixture.h"
#include "config/password_encoding.h"
#include "settings/settings.h"

namespace pictavo::config {
namespace {

const std::string kWrongOld =
    "The value for Old Password is not correct.\n\r\n\rPlease check your screen-saver password, "
    "and then try again.";
const std::string kMismatch =
    "The values for New Password and Confirm New Password do not match.\n\r\n\rTry again.";

class ChangePasswordTest : public DialogTest {
  protected:
    HeadlessForm& open(bool asProgram = false) {
        dialog = std::make_unique<ChangePasswordDialog>(host, state);
        if (asProgram)
            dialog->showAsProgram();
        else
            dialog->showModal(nullptr);
        HeadlessForm* form = find("frmChangePass");
        EXPECT_NE(form, nullptr);
        return *form;
    }
    bool enabled(HeadlessForm& form, const char* name) { return form.control(name).enabled(); }
    std::string text(HeadlessForm& form, const char* name) { return form.control(name).text(); }
    void expectOneBox(const std::string& message) {
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, message);
        EXPECT_EQ(boxes()[0].title, "Change Password");
        EXPECT_EQ(boxes()[0].style, platform::kMbIconStop);
    }

    std::unique_ptr<ChangePasswordDialog> dialog;
};

TEST_F(ChangePasswordTest, WithoutAPasswordOnlyTheNewBoxesAreUsable) {
    HeadlessForm& form = open();
    EXPECT_EQ(form.caption(), "Change Password");
    EXPECT_FALSE(enabled(form, "Text1"));
    EXPECT_FALSE(enabled(form, "Label1"));
    for (const char* name : {"Text2", "Label2", "Text3", "Label3", "PicBtn5"})
        EXPECT_TRUE(enabled(form, name)) << name;
    EXPECT_EQ(form.focused(), "Text2");
    // (640 * 15 - 5325) / 2 and (480 * 15 - 1980) / 2.
    EXPECT_EQ(form.bounds().left, 2138);
    EXPECT_EQ(form.bounds().top, 2610);
}

TEST_F(ChangePasswordTest, WithAPasswordOnlyTheOldBoxIsUsableUntilTypedIn) {
    state.Password = EncodePassword("secret");
    HeadlessForm& form = open();
    EXPECT_TRUE(enabled(form, "Text1"));
    for (const char* name : {"Text2", "Label2", "Text3", "Label3"})
        EXPECT_FALSE(enabled(form, name)) << name;
    form.type("Text1", "s");
    for (const char* name : {"Text2", "Label2", "Text3", "Label3", "PicBtn5"})
        EXPECT_TRUE(enabled(form, name)) << name;
    form.type("Text1", "");
    for (const char* name : {"Text2", "Label2", "Text3", "Label3", "PicBtn5"})
        EXPECT_FALSE(enabled(form, name)) << name;
    // Typing a new password enables OK again.
    form.control("Text2").setEnabled(true);
    form.type("Text2", "x");
    EXPECT_TRUE(enabled(form, "PicBtn5"));
}

TEST_F(ChangePasswordTest, BoxesTakeAtMostTwentyCharacters) {
    HeadlessForm& form = open();
    form.type("Text2", "abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(text(form, "Text2"), "abcdefghijklmnopqrst");
    EXPECT_EQ(form.control("Text2").design().passwordChar, '*');
}

TEST_F(ChangePasswordTest, FirstPasswordIsStoredEncoded) {
    HeadlessForm& form = open();
    form.type("Text2", "Tulip7");
    form.type("Text3", "Tulip7");
    form.click("PicBtn5");
    EXPECT_FALSE(form.loaded());
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(state.Password, EncodePassword("TULIP7"));
    EXPECT_EQ(writes(),
              std::vector<std::string>{"ScreenSaver/Password=" + EncodePassword("tulip7")});
    EXPECT_EQ(settings::loadPassword(host.settings()), state.Password);
}

TEST_F(ChangePasswordTest, EmptyNewPasswordRemovesThePassword) {
    HeadlessForm& first = open();
    first.click("PicBtn5");
    EXPECT_FALSE(first.loaded());
    EXPECT_EQ(writes(), std::vector<std::string>{"ScreenSaver/Password="});

    state.Password = EncodePassword("old");
    HeadlessForm& second = open();
    second.type("Text1", "OLD");  // another letter case is accepted
    second.click("PicBtn5");
    EXPECT_FALSE(second.loaded());
    EXPECT_EQ(state.Password, "");
    EXPECT_EQ(writes().back(), "ScreenSaver/Password=");
}

TEST_F(ChangePasswordTest, WrongOldPasswordEmptiesAllBoxes) {
    state.Password = EncodePassword("secret");
    HeadlessForm& form = open();
    form.type("Text1", "secrets");
    form.type("Text2", "new");
    form.type("Text3", "new");
    form.click("PicBtn5");
    expectOneBox(kWrongOld);
    EXPECT_TRUE(form.loaded());
    for (const char* name : {"Text1", "Text2", "Text3"}) EXPECT_EQ(text(form, name), "") << name;
    EXPECT_EQ(form.focused(), "Text1");
    // The emptied old box leaves the new boxes unusable again.
    EXPECT_FALSE(enabled(form, "Text2"));
    EXPECT_EQ(state.Password, EncodePassword("secret"));
    EXPECT_TRUE(writes().empty());
}

TEST_F(ChangePasswordTest, MismatchEmptiesOnlyTheNewBoxes) {
    state.Password = EncodePassword("secret");
    HeadlessForm& form = open();
    form.type("Text1", "Secret");
    form.type("Text2", "apple");
    form.type("Text3", "apples");
    form.click("PicBtn5");
    expectOneBox(kMismatch);
    EXPECT_EQ(text(form, "Text1"), "Secret");
    EXPECT_EQ(text(form, "Text2"), "");
    EXPECT_EQ(text(form, "Text3"), "");
    EXPECT_EQ(form.focused(), "Text2");
    EXPECT_TRUE(enabled(form, "PicBtn5"));
    EXPECT_TRUE(writes().empty());

    // Then a matching pair goes through.
    host.dialogs().clear();
    form.type("Text2", "pear");
    form.type("Text3", "pear");
    form.click("PicBtn5");
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(state.Password, EncodePassword("PEAR"));
}

TEST_F(ChangePasswordTest, NewPasswordAndConfirmationMustMatchExactly) {
    HeadlessForm& form = open();
    form.type("Text2", "pear");
    form.type("Text3", "PEAR");
    form.click("PicBtn5");
    expectOneBox(kMismatch);
}

TEST_F(ChangePasswordTest, EnterInAnyBoxRunsOkOnce) {
    state.Password = EncodePassword("secret");
    HeadlessForm& form = open();
    form.type("Text1", "x");
    form.type("Text1", "");
    EXPECT_FALSE(enabled(form, "PicBtn5"));
    form.pressKey(kEnter);  // in the empty old box, with OK disabled
    expectOneBox(kWrongOld);

    host.dialogs().clear();
    form.type("Text1", "secret");
    form.type("Text2", "one");
    form.type("Text3", "two");
    form.pressKey(kEnter);  // the focus is in the confirmation box
    expectOneBox(kMismatch);
    // A second run would now find two empty, matching boxes and remove the password.
    EXPECT_TRUE(form.loaded());
    EXPECT_TRUE(writes().empty());

    host.dialogs().clear();
    form.type("Text2", "three");
    form.type("Text3", "three");
    form.pressKey(kEnter);
    EXPECT_TRUE(boxes().empty());
    EXPECT_FALSE(form.loaded());
    EXPECT_EQ(writes().size(), 1u);
    EXPECT_EQ(state.Password, EncodePassword("three"));
}

TEST_F(ChangePasswordTest, EscapeAndCloseChangeNothing) {
    state.Password = EncodePassword("secret");
    HeadlessForm& first = open();
    first.type("Text1", "secret");
    first.pressKey(kEscape);
    EXPECT_FALSE(first.loaded());

    HeadlessForm& second = open();
    second.fire({platform::EventType::Close, ""});
    EXPECT_FALSE(second.loaded());
    EXPECT_EQ(state.Password, EncodePassword("secret"));
    EXPECT_TRUE(writes().empty());
    EXPECT_FALSE(host.eventLoop().endRequested());
}

TEST_F(ChangePasswordTest, AloneItEndsTheProgramWhenItCloses) {
    HeadlessForm& cancelled = open(true);
    EXPECT_FALSE(cancelled.shownModal());
    EXPECT_FALSE(host.eventLoop().endRequested());
    cancelled.click("PicBtn4");
    EXPECT_TRUE(host.eventLoop().endRequested());
}

TEST_F(ChangePasswordTest, AloneItEndsTheProgramAfterStoring) {
    HeadlessForm& form = open(true);
    form.type("Text2", "abc");
    form.type("Text3", "abc");
    form.click("PicBtn5");
    EXPECT_TRUE(host.eventLoop().endRequested());
    EXPECT_EQ(writes().size(), 1u);
}

TEST_F(ChangePasswordTest, FailedCheckKeepsTheProgramRunning) {
    state.Password = EncodePassword("secret");
    HeadlessForm& form = open(true);
    form.type("Text1", "nope");
    form.click("PicBtn5");
    EXPECT_TRUE(form.loaded());
    EXPECT_FALSE(host.eventLoop().endRequested());
}

TEST_F(ChangePasswordTest, StoreThatCannotBeWrittenIsReportedAndNothingChanges) {
    HeadlessForm& form = open(true);
    host.settings().failWrites(true);
    form.type("Text2", "abc");
    form.type("Text3", "abc");
    form.click("PicBtn5");
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].title, "Change Password");
    EXPECT_EQ(boxes()[0].text.rfind("The new password could not be saved.\n\r\n\r", 0), 0u);
    EXPECT_TRUE(form.loaded());
    EXPECT_EQ(state.Password, "");
    EXPECT_FALSE(host.eventLoop().endRequested());
}

TEST_F(ChangePasswordTest, AccentedPasswordIsAcceptedInAnyCaseLater) {
    HeadlessForm& first = open();
    first.type("Text2", "crème brûlée");
    first.type("Text3", "crème brûlée");
    first.click("PicBtn5");
    ASSERT_FALSE(first.loaded());

    // What the next start would load.
    state.Password = settings::loadPassword(host.settings());
    HeadlessForm& second = open();
    second.type("Text1", "CRÈME BRÛLÉE");
    second.type("Text2", "x");
    second.type("Text3", "x");
    second.click("PicBtn5");
    EXPECT_TRUE(boxes().empty());
    EXPECT_FALSE(second.loaded());
}

}  // namespace
}  // namespace pictavo::config
