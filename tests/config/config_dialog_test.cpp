#include "config/config_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "artwork/artwork.h"
#include "config/config_fixture.h"

namespace pictavo::config {
namespace {

class ConfigDialogTest : public DialogTest {
  protected:
    HeadlessForm& open() {
        dialog = std::make_unique<ConfigDialog>(host, state);
        dialog->show("Configure Pictavo");
        HeadlessForm* form = find("SSConfig");
        EXPECT_NE(form, nullptr);
        return *form;
    }
    static std::string caption(HeadlessForm& form, const char* name) {
        return form.control(name).caption();
    }
    static int value(HeadlessForm& form, const char* name) { return form.control(name).value(); }

    std::unique_ptr<ConfigDialog> dialog;
};

// ---- loading ----

TEST_F(ConfigDialogTest, OpensModallyCentredWithItsCaption) {
    HeadlessForm& form = open();
    EXPECT_TRUE(form.shownModal());
    EXPECT_EQ(form.caption(), "Configure Pictavo");
    // 640 x 480 pixels of 15 twips: (9600 - 5655) / 2 = 1972.5 rounds to the even 1972.
    EXPECT_EQ(form.bounds().left, 1972);
    EXPECT_EQ(form.bounds().top, 645);
    EXPECT_EQ(form.bounds().width, 5655);
}

TEST_F(ConfigDialogTest, SavedIntervalsSelectTheirOption) {
    struct Case {
        int32_t saved;
        const char* selected;
        int32_t interval;
        const char* customCaption;
    };
    const Case cases[] = {
        {3, "Option3D7", 3, "C&ustom Interval"},
        {10, "Option3D8", 10, "C&ustom Interval"},
        {20, "Option3D9", 20, "C&ustom Interval"},
        {7, "Option3D10", 7, "Custom Interval (7 seconds)"},
        {0, "Option3D10", 2, "Custom Interval (2 seconds)"},
        {-15, "Option3D10", 2, "Custom Interval (2 seconds)"},
        {1, "Option3D10", 1, "Custom Interval (1 seconds)"},
        {100000, "Option3D10", 100000, "Custom Interval (100000 seconds)"},
    };
    for (const Case& c : cases) {
        state.Interval = c.saved;
        HeadlessForm& form = open();
        for (const char* option : {"Option3D7", "Option3D8", "Option3D9", "Option3D10"})
            EXPECT_EQ(value(form, option), std::string(option) == c.selected ? 1 : 0)
                << c.saved << " " << option;
        EXPECT_EQ(state.Interval, c.interval) << c.saved;
        EXPECT_EQ(caption(form, "Option3D10"), c.customCaption) << c.saved;
    }
}

TEST_F(ConfigDialogTest, SpeedStretchAndPasswordSwitchShowTheirSettings) {
    state.Speed = 500;
    state.Stretch = 1;
    state.UsePassword = 1;
    HeadlessForm& form = open();
    EXPECT_EQ(value(form, "HScroll1"), 500);
    EXPECT_EQ(caption(form, "TransSpeed"), "500");
    EXPECT_FALSE(form.control("TransSpeed").visible());
    EXPECT_EQ(value(form, "btnStretch"), 1);
    EXPECT_EQ(value(form, "PassWordCheck"), 1);
}

TEST_F(ConfigDialogTest, SpeedOutsideTheScrollBarKeepsItsFirstPosition) {
    for (int16_t speed : {int16_t{0}, int16_t{-3}, int16_t{1001}}) {
        state.Speed = speed;
        HeadlessForm& form = open();
        EXPECT_EQ(value(form, "HScroll1"), 1) << speed;
        EXPECT_EQ(caption(form, "TransSpeed"), "1") << speed;
    }
}

TEST_F(ConfigDialogTest, PasswordPanelIsHiddenAndTheFolderPanelTakesItsSpace) {
    HeadlessForm& form = open();
    for (const char* name :
         {"Line2", "Line4", "Line5", "Line6", "Picture5", "PasswordButton", "PassWordCheck"})
        EXPECT_FALSE(form.control(name).visible()) << name;
    EXPECT_TRUE(form.control("Picture1").visible());
    EXPECT_EQ(form.control("File1").bounds().height, 1680);
    EXPECT_EQ(form.control("Dir1").bounds().height, 1680);
    EXPECT_EQ(form.control("Shape4").bounds().height, 3270 - 105);
    EXPECT_EQ(form.control("Shape5").bounds().height, 3270 - 105);
    // Only the heights change.
    EXPECT_EQ(form.control("Dir1").bounds().top, 1200);
    EXPECT_EQ(form.control("Shape4").bounds().top, 120);
}

TEST_F(ConfigDialogTest, ListsShowTheSavedFolder) {
    std::filesystem::create_directory(pictures.path() / "zoo");
    std::filesystem::create_directory(pictures.path() / "Albums");
    HeadlessForm& form = open();
    EXPECT_EQ(form.control("File1").items(), (std::vector<std::string>{"a.BMP", "b.jpg"}));
    std::vector<std::string> rows = form.control("Dir1").items();
    int current = form.control("Dir1").selectedIndex();
    ASSERT_GE(current, 0);
    ASSERT_EQ(rows.size(), static_cast<size_t>(current) + 3);
    EXPECT_EQ(rows[static_cast<size_t>(current)], pictures.path().filename().string());
    EXPECT_EQ(rows[static_cast<size_t>(current) + 1], "Albums");
    EXPECT_EQ(rows[static_cast<size_t>(current) + 2], "zoo");
    EXPECT_GE(form.control("Drive1").selectedIndex(), 0);
}

TEST_F(ConfigDialogTest, UnreadableSavedFolderLeavesTheListsWhereTheyStarted) {
    start.write("start.png", "x");
    state.PicturePath = (pictures.path() / "gone").string() + "/";
    HeadlessForm& form = open();
    EXPECT_EQ(form.control("File1").items(), std::vector<std::string>{"start.png"});
    form.click("PicBtn5");
    EXPECT_EQ(writes().front(), "Pictavo/PicturePath=" + folderOf(start));
}

// ---- the background ----

void expectTiled(platform::headless::HeadlessForm& form) {
    const imaging::Image texture = artwork::image("texture");
    const imaging::Image background = form.background()->snapshot();
    ASSERT_FALSE(background.empty());
    for (int y = 0; y < background.height; ++y)
        for (int x = 0; x < background.width; ++x)
            ASSERT_EQ(background.at(x, y), texture.at(x % 48, y % 48)) << x << "," << y;
}

TEST_F(ConfigDialogTest, BackgroundIsTiledOnLoadRepaintAndResize) {
    HeadlessForm& form = open();
    expectTiled(form);
    form.background()->clear(0);
    form.repaint();
    expectTiled(form);
    form.resizeTo(9000, 7000);
    expectTiled(form);
}

TEST_F(ConfigDialogTest, TilesStay48PixelsOnAFinerScreen) {
    host.screen().setTwipsPerPixel(12, 12);
    HeadlessForm& form = open();
    EXPECT_EQ(form.control("Shape1").bounds().width, 48 * 12);
    form.repaint();
    expectTiled(form);
}

TEST_F(ConfigDialogTest, TilingStopsWhenTheTextureHolderHasNoSize) {
    HeadlessForm& form = open();
    form.control("Shape1").move({2880, 240, 0, 0});
    form.background()->clear(0);
    form.repaint();  // must return
    EXPECT_EQ(form.background()->snapshot().at(0, 0), imaging::rgb(0, 0, 0));
}

// ---- reactions ----

TEST_F(ConfigDialogTest, IntervalOptionsSetTheIntervalAtOnceWithoutSaving) {
    HeadlessForm& form = open();
    form.click("Option3D7");
    EXPECT_EQ(state.Interval, 3);
    form.click("Option3D9");
    EXPECT_EQ(state.Interval, 20);
    form.click("Option3D8");
    EXPECT_EQ(state.Interval, 10);
    EXPECT_TRUE(writes().empty());
}

TEST_F(ConfigDialogTest, CustomIntervalAnswers) {
    struct Case {
        std::optional<std::string> answer;  // nullopt: Esc
        int32_t interval;
    };
    const Case cases[] = {
        {"45", 45},   {" 12 ", 12},   {"2.5", 2},        {"3.5", 4},       {"32767", 32767},
        {"abc", 2},   {"", 2},        {std::nullopt, 2}, {"0", 2},         {"-4", 2},
        {"40000", 2}, {"32767.5", 2}, {"-32768", 2},     {"7 seconds", 2}, {"0.4", 2},
    };
    HeadlessForm& form = open();
    for (const Case& c : cases) {
        const std::string shown = c.answer ? *c.answer : "<Esc>";
        state.Interval = 99;
        form.click("Option3D10");
        HeadlessForm* box = find("frmInputBox");
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->shownModal());
        EXPECT_EQ(box->caption(), "Configure slide interval");
        EXPECT_EQ(box->control("Prompt").caption(), "Enter the number of seconds between slides");
        EXPECT_EQ(box->control("Answer").text(), "") << "it opens empty";
        EXPECT_EQ(state.Interval, 99) << "nothing changes before the answer";
        if (c.answer) box->type("Answer", *c.answer);
        box->pressKey(c.answer ? kEnter : kEscape);
        EXPECT_FALSE(box->loaded()) << shown;
        EXPECT_EQ(state.Interval, c.interval) << shown;
        EXPECT_EQ(caption(form, "Option3D10"),
                  "Custom Interval (" + std::to_string(c.interval) + " seconds )")
            << shown;
    }
    EXPECT_TRUE(boxes().empty());
    EXPECT_TRUE(writes().empty());
}

TEST_F(ConfigDialogTest, ClosingTheIntervalBoxIsCancel) {
    HeadlessForm& form = open();
    form.click("Option3D10");
    HeadlessForm* box = find("frmInputBox");
    ASSERT_NE(box, nullptr);
    box->type("Answer", "45");
    box->fire({platform::EventType::Close, ""});
    EXPECT_FALSE(box->loaded());
    EXPECT_EQ(state.Interval, 2);
}

TEST_F(ConfigDialogTest, SpeedScrollBarIsMirrored) {
    HeadlessForm& form = open();
    form.scroll("HScroll1", 1000);
    EXPECT_EQ(caption(form, "TransSpeed"), "1000");
    form.scroll("HScroll1", 37);
    EXPECT_EQ(caption(form, "TransSpeed"), "37");
}

TEST_F(ConfigDialogTest, PasswordCheckEnablesTheSetPasswordButton) {
    HeadlessForm& form = open();
    // The panel is hidden, so the clicks come as the events themselves.
    EXPECT_FALSE(form.control("PasswordButton").enabled());
    form.control("PassWordCheck").setValue(1);
    form.fire({platform::EventType::Click, "PassWordCheck"});
    EXPECT_TRUE(form.control("PasswordButton").enabled());
    form.control("PassWordCheck").setValue(0);
    form.fire({platform::EventType::Click, "PassWordCheck"});
    EXPECT_FALSE(form.control("PasswordButton").enabled());
}

TEST_F(ConfigDialogTest, SetPasswordAndAboutOpenTheirDialogsModally) {
    HeadlessForm& form = open();
    form.fire({platform::EventType::Click, "PasswordButton"});
    HeadlessForm* password = find("frmChangePass");
    ASSERT_NE(password, nullptr);
    EXPECT_TRUE(password->shownModal());
    password->click("PicBtn4");
    EXPECT_TRUE(form.loaded());

    form.click("PicBtn2");
    HeadlessForm* about = find("frmAbout");
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->shownModal());
    about->click("Command2");
    EXPECT_FALSE(about->loaded());
    EXPECT_TRUE(form.loaded());
    EXPECT_TRUE(writes().empty());
}

TEST_F(ConfigDialogTest, HelpTextIsExact) {
    const std::string expected =
        "To configure your screen saver:\r\n\r\n"
        "Pictavo accepts 16 different graphic formats; select the path to the images you want to "
        "use.  Note that "
        "images do not have to be the same size, since they will all be centered or expanded to "
        "screen size when "
        "displayed. Supported file types are: BMP, DIB, DCX, DXF, EPS, FMF, IMG, JPEG, PCD, PCX, "
        "PNG, RLE, TGA, "
        "TIFF, WMF, and WPG.\r\n\r\n"
        "The program will randomly select from 32 different transition effects. Select the "
        "transition speed and "
        "the transition interval.\r\n\r\n"
        "If you want to password protect the screen saver, check the PASSWORD PROTECTED box and "
        "click the SET "
        "PASSWORD... button; uncheck the PASSWORD PROTECTED box to disable the password "
        "protection.\r\n\r\n"
        "Click OK to save your changes, or click CANCEL (or the ESC key) to cancel changes.\r\n\r\n"
        "Note: On 256-color systems, transitions may be preceded by a dramatic color shift; this "
        "occurs when the "
        "combined palettes of the two slides exceed the number of display colors available.";
    HeadlessForm& form = open();
    form.click("PicBtn3");
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, expected);
    EXPECT_EQ(boxes()[0].title, "Configuration Help");
    EXPECT_EQ(boxes()[0].style, 0);
    EXPECT_TRUE(form.loaded());
}

// ---- closing ----

TEST_F(ConfigDialogTest, OkSavesTheFourSettingsInOrder) {
    state.Interval = 20;
    HeadlessForm& form = open();
    form.scroll("HScroll1", 1000);
    form.click("btnStretch");
    form.click("PicBtn5");
    EXPECT_FALSE(form.loaded());
    EXPECT_EQ(writes(), (std::vector<std::string>{"Pictavo/PicturePath=" + folderOf(pictures),
                                                  "Pictavo/Interval=20", "Pictavo/Speed=1000",
                                                  "Pictavo/Stretch=1"}));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(ConfigDialogTest, UnusableSavedIntervalIsSavedAsTwo) {
    state.Interval = 0;
    HeadlessForm& form = open();
    form.pressKey(kEnter);
    EXPECT_FALSE(form.loaded());
    EXPECT_EQ(writes(), (std::vector<std::string>{"Pictavo/PicturePath=" + folderOf(pictures),
                                                  "Pictavo/Interval=2", "Pictavo/Speed=1",
                                                  "Pictavo/Stretch=0"}));
}

TEST_F(ConfigDialogTest, OkWithoutPicturesSavesNothing) {
    TempFolder empty;
    empty.write("readme.txt", "x");
    empty.write("picture.bmp.bak", "x");
    state.PicturePath = empty.withSeparator();
    HeadlessForm& form = open();
    EXPECT_TRUE(form.control("File1").items().empty());
    form.click("PicBtn5");
    EXPECT_TRUE(form.loaded());
    EXPECT_TRUE(writes().empty());
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "No Pictures in " + folderOf(empty));
    EXPECT_EQ(boxes()[0].title, "Nothing to Display");
    EXPECT_EQ(boxes()[0].style, platform::kMbIconExclamation);
}

TEST_F(ConfigDialogTest, EscapeCancelAndClosingSaveNothing) {
    HeadlessForm& first = open();
    first.click("Option3D7");
    first.pressKey(kEscape);
    EXPECT_FALSE(first.loaded());

    HeadlessForm& second = open();
    second.click("PicBtn4");
    EXPECT_FALSE(second.loaded());

    HeadlessForm& third = open();
    third.fire({platform::EventType::Close, ""});
    EXPECT_FALSE(third.loaded());
    EXPECT_TRUE(writes().empty());
}

TEST_F(ConfigDialogTest, StoreThatCannotBeWrittenIsReportedAndTheDialogStays) {
    HeadlessForm& form = open();
    host.settings().failWrites(true);
    form.click("PicBtn5");
    EXPECT_TRUE(form.loaded());
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].title, "Configure Pictavo");
    EXPECT_NE(boxes()[0].text.find("could not be saved"), std::string::npos);
}

// ---- choosing a folder ----

TEST_F(ConfigDialogTest, ChoosingAFolderMovesTheFileListAlong) {
    std::filesystem::create_directory(pictures.path() / "inner");
    std::ofstream(pictures.path() / "inner" / "c.png") << "x";
    HeadlessForm& form = open();
    int current = form.control("Dir1").selectedIndex();
    // Moving the selection opens nothing; a double-click or Enter opens it.
    form.select("Dir1", current + 1);  // "inner"
    EXPECT_EQ(form.control("File1").items(), (std::vector<std::string>{"a.BMP", "b.jpg"}));
    form.doubleClick("Dir1");
    EXPECT_EQ(form.control("File1").items(), std::vector<std::string>{"c.png"});
    form.select("Dir1", form.control("Dir1").selectedIndex() - 1);  // back up
    form.pressKey(kEnter);
    EXPECT_EQ(form.control("File1").items(), (std::vector<std::string>{"a.BMP", "b.jpg"}));
    EXPECT_TRUE(writes().empty()) << "Enter in the folder list opens the folder, not OK";
    form.click("PicBtn5");
    EXPECT_EQ(writes().front(), "Pictavo/PicturePath=" + folderOf(pictures));
}

TEST_F(ConfigDialogTest, FolderThatCannotBeReadKeepsThePreviousSelection) {
    std::filesystem::create_directory(pictures.path() / "vanishing");
    HeadlessForm& form = open();
    int current = form.control("Dir1").selectedIndex();
    std::filesystem::remove(pictures.path() / "vanishing");
    form.select("Dir1", current + 1);
    form.doubleClick("Dir1");
    EXPECT_EQ(form.control("Dir1").selectedIndex(), current);
    EXPECT_EQ(form.control("File1").items(), (std::vector<std::string>{"a.BMP", "b.jpg"}));
}

}  // namespace
}  // namespace pictavo::config
