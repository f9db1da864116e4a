#include "hosts/fltk/fltk_forms.h"

#include <FL/Fl.H>
#include <FL/Fl_Browser_.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include "artwork/artwork.h"
#include "common/numbers.h"
#include "form_testing.h"
#include "hosts/fltk/fltk_host.h"
#include "hosts/fltk/fltk_style.h"
#include "hosts/fltk/graphic_widgets.h"
#include "hosts/fltk/native_window.h"
#include "hosts/fltk/password_input.h"
#include "hosts/fltk/picture_window.h"
#include "x11_probe.h"
#include "xvfb_environment.h"

namespace pictavo::platform::fltk {
namespace {

using pictavo::testing::everyKindLayout;
using pictavo::testing::pumpFor;
using pictavo::testing::pumpUntil;
using pictavo::testing::RecordingHandler;
using pictavo::testing::ScreenPoint;
using pictavo::testing::X11Probe;
using pictavo::testing::xdotool;

constexpr uint32_t kRed = 0xFF0000;

class FltkFormsTest : public ::testing::Test {
  protected:
    std::unique_ptr<Form> make(const FormSpec& design = everyKindLayout()) {
        return host.forms().create(design, handler, nullptr);
    }
    // At the screen's top-left corner (there is no window manager to move
    // it), and on screen before the test goes on.
    void showAtCorner(Form& form, bool wait = true) {
        TwipsRect size = form.bounds();
        form.move({0, 0, size.width, size.height});
        form.show(false);
        if (!wait) return;
        ASSERT_TRUE(
            pumpUntil([&] { return probe.mapped(static_cast<unsigned long>(form.handle())); }));
        pumpFor(0.3);
    }
    static Fl_Widget* widget(Form& form, std::string_view name) {
        return static_cast<FltkRole*>(form.control(name).native())->widget();
    }
    // A point of a control, on the screen.
    ScreenPoint at(Form& form, std::string_view name, int dx, int dy) {
        Fl_Widget* w = widget(form, name);
        if (auto* window = w->as_window(); window != nullptr)
            return probe.onScreen(nativeHandle(*window), dx, dy);
        return probe.onScreen(nativeHandle(*w->window()), w->x() + dx, w->y() + dy);
    }
    bool click(Form& form, std::string_view name, int dx = 5, int dy = 5) {
        ScreenPoint p = at(form, name, dx, dy);
        return xdotool("mousemove " + std::to_string(p.x) + " " + std::to_string(p.y) + " click 1");
    }

    FltkHost host;
    X11Probe probe;
    RecordingHandler handler;
};

TEST_F(FltkFormsTest, PlacesEveryControlAtItsPixelsInItsContainer) {
    auto form = make();
    Fl_Widget* text = widget(*form, "Text1");
    EXPECT_EQ(text->x(), 120);
    EXPECT_EQ(text->y(), 8);
    EXPECT_EQ(text->w(), 100);
    EXPECT_EQ(text->h(), 19);
    // Inside the panel, places count from the panel's corner.
    Fl_Widget* panel = widget(*form, "Panel1");
    Fl_Widget* option3 = widget(*form, "Option3");
    EXPECT_EQ(option3->parent(), panel);
    EXPECT_EQ(option3->x(), 8);
    EXPECT_EQ(option3->y(), 8);
    EXPECT_EQ(widget(*form, "Label2")->parent(), panel);
    // The picture's surface has its pixel size.
    Surface* picture = form->control("Picture2").surface();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->width(), 100);
    EXPECT_EQ(picture->height(), 75);
    EXPECT_EQ(form->control("Text1").surface(), nullptr);
    // Moving a picture box resizes its surface.
    form->control("Picture2").move({3600, 2400, 900, 600});
    EXPECT_EQ(picture->width(), 60);
    EXPECT_EQ(picture->height(), 40);
}

TEST_F(FltkFormsTest, WhatTheCoreSetsFiresNothing) {
    auto form = make();
    showAtCorner(*form);
    handler.clear();
    form->control("Text1").setText("abc");
    form->control("Check1").setValue(1);
    form->control("Option2").setValue(1);
    form->control("HScroll1").setValue(500);
    form->control("File1").setItems({"a.jpg", "b.png"});
    form->control("File1").setSelectedIndex(1);
    form->control("Drive1").setItems({"/", "/media/usb"});
    form->control("Drive1").setSelectedIndex(0);
    form->control("Label1").setCaption("Changed");
    form->setCaption("Renamed");
    pumpFor(0.3);
    EXPECT_EQ(handler.count(EventType::Change), 0);
    EXPECT_EQ(handler.count(EventType::Click), 0);
    EXPECT_EQ(form->control("HScroll1").value(), 500);
    EXPECT_EQ(form->control("File1").selectedIndex(), 1);
    EXPECT_EQ(probe.title(static_cast<unsigned long>(form->handle())), "Renamed");
}

TEST_F(FltkFormsTest, OptionsInOneContainerAreOneGroup) {
    auto form = make();
    form->control("Option2").setValue(1);
    EXPECT_EQ(form->control("Option1").value(), 0);
    EXPECT_EQ(form->control("Option2").value(), 1);
    // The panel's options are a group of their own.
    EXPECT_EQ(form->control("Option3").value(), 1);
    form->control("Option4").setValue(1);
    EXPECT_EQ(form->control("Option3").value(), 0);
    EXPECT_EQ(form->control("Option2").value(), 1);
}

TEST_F(FltkFormsTest, TextBoxesTakeNoMoreThanTheirLimit) {
    auto form = make();
    form->control("Text1").setText("abcdefgh");
    EXPECT_EQ(form->control("Text1").text(), "abcde");
    form->control("Text1").setText("");
    showAtCorner(*form);
    form->control("Text1").setFocus();
    xdotool("type --delay 20 123456789");
    pumpUntil([&] { return handler.count(EventType::Change, "Text1") >= 5; });
    pumpFor(0.3);
    EXPECT_EQ(form->control("Text1").text(), "12345");
    EXPECT_EQ(handler.count(EventType::Change, "Text1"), 5);
}

TEST_F(FltkFormsTest, ClicksOfTheUserReachTheHandler) {
    auto form = make();
    showAtCorner(*form);
    handler.clear();
    ASSERT_TRUE(click(*form, "Check1"));
    ASSERT_TRUE(pumpUntil([&] { return handler.count(EventType::Click, "Check1") == 1; }));
    EXPECT_EQ(form->control("Check1").value(), 1);

    ASSERT_TRUE(click(*form, "Option2"));
    ASSERT_TRUE(pumpUntil([&] { return handler.count(EventType::Click, "Option2") == 1; }));
    EXPECT_EQ(form->control("Option1").value(), 0);
    // A click on the chosen option is a click too.
    ASSERT_TRUE(click(*form, "Option2"));
    EXPECT_TRUE(pumpUntil([&] { return handler.count(EventType::Click, "Option2") == 2; }));

    form->control("Command2").setEnabled(false);
    ASSERT_TRUE(click(*form, "Command2"));
    ASSERT_TRUE(click(*form, "Command1"));
    ASSERT_TRUE(pumpUntil([&] { return handler.count(EventType::Click, "Command1") == 1; }));
    EXPECT_EQ(handler.count(EventType::Click, "Command2"), 0);
}

TEST_F(FltkFormsTest, TheUsersChoiceInAListIsAClick) {
    auto form = make();
    form->control("File1").setItems({"first.jpg", "a/b & c@d.png", "third.bmp"});
    showAtCorner(*form);
    handler.clear();
    ASSERT_TRUE(click(*form, "File1", 20, 6));  // the first row
    ASSERT_TRUE(pumpUntil([&] { return handler.count(EventType::Click, "File1") == 1; }));
    EXPECT_EQ(form->control("File1").selectedIndex(), 0);
    xdotool("key Down");
    ASSERT_TRUE(pumpUntil([&] { return handler.count(EventType::Click, "File1") == 2; }));
    EXPECT_EQ(form->control("File1").selectedIndex(), 1);
    EXPECT_EQ(form->control("File1").items()[1], "a/b & c@d.png");
}

class KeyTest : public FltkFormsTest {
  protected:
    void SetUp() override {
        FormSpec design = everyKindLayout();
        design.keyPreview = true;
        form = make(design);
        showAtCorner(*form);
        form->control("Text1").setFocus();
        pumpFor(0.2);
        handler.clear();
    }
    std::unique_ptr<Form> form;
};

TEST_F(KeyTest, TheFormSeesEveryKeyFirstWhenItAsks) {
    xdotool("key a");
    ASSERT_TRUE(pumpUntil([&] { return handler.count(EventType::Change, "Text1") == 1; }));
    ASSERT_GE(handler.events.size(), 2u);
    EXPECT_EQ(handler.described()[0], "KeyDown 65");
    EXPECT_EQ(form->control("Text1").text(), "a");

    handler.clear();
    xdotool("key shift+b");  // the Shift key alone is a key too
    ASSERT_TRUE(pumpUntil([&] { return handler.count(EventType::Change, "Text1") == 1; }));
    EXPECT_EQ(handler.described()[0], "KeyDown 16");
    EXPECT_EQ(handler.described()[1], "KeyDown 66");
}

TEST_F(FltkFormsTest, AnAccessKeyReachesTheFormWithTheKeyboardOnly) {
    auto owner = make();
    showAtCorner(*owner);
    // A dialog beside it with nothing of its own on "c".
    FormSpec other = everyKindLayout();
    other.name = "frmOther";
    other.caption = "Other";
    std::erase_if(other.controls, [](const ControlSpec& c) { return c.name == "Check1"; });
    RecordingHandler otherHandler;
    auto dialog = host.forms().create(other, otherHandler, nullptr);
    dialog->move({6300, 0, other.clientWidth, other.clientHeight});
    dialog->show(false);
    ASSERT_TRUE(
        pumpUntil([&] { return probe.mapped(static_cast<unsigned long>(dialog->handle())); }));
    dialog->control("Command1").setFocus();
    pumpFor(0.2);
    handler.clear();
    // FLTK offers unclaimed keys to the window under the pointer.
    ScreenPoint over = at(*owner, "Check1", 5, 5);
    xdotool("mousemove " + std::to_string(over.x) + " " + std::to_string(over.y));
    pumpFor(0.2);
    xdotool("key alt+c key c");
    pumpFor(0.4);
    EXPECT_EQ(handler.count(EventType::Click), 0);
    EXPECT_EQ(owner->control("Check1").value(), 0);
    EXPECT_EQ(otherHandler.count(EventType::Click), 0);
}

TEST_F(FltkFormsTest, APictureReportsTheMouseInItsPixels) {
    auto form = make();
    // The pointer rests where the picture will open: its first report is
    // that position, without any move.
    ScreenPoint corner = probe.onScreen(0, 0, 0);
    xdotool("mousemove " + std::to_string(corner.x + 240 + 10) + " " +
            std::to_string(corner.y + 160 + 20));
    showAtCorner(*form);
    ASSERT_TRUE(pumpUntil([&] { return handler.count(EventType::MouseMove, "Picture2") >= 1; }));
    EXPECT_EQ(handler.last(EventType::MouseMove)->x, 10);
    EXPECT_EQ(handler.last(EventType::MouseMove)->y, 20);

    handler.clear();
    ScreenPoint p = at(*form, "Picture2", 11, 20);
    xdotool("mousemove " + std::to_string(p.x) + " " + std::to_string(p.y));
    ASSERT_TRUE(pumpUntil([&] { return handler.count(EventType::MouseMove, "Picture2") >= 1; }));
    EXPECT_EQ(handler.last(EventType::MouseMove)->x, 11);
    EXPECT_EQ(handler.last(EventType::MouseMove)->y, 20);

    handler.clear();
    xdotool("click 1");
    ASSERT_TRUE(pumpUntil([&] { return handler.count(EventType::Click, "Picture2") == 1; }));
    std::vector<std::string> expected{"MouseDown Picture2 11,20", "MouseUp Picture2 11,20",
                                      "Click Picture2"};
    std::vector<std::string> seen;
    for (const std::string& line : handler.described())
        if (line.rfind("MouseMove", 0) != 0) seen.push_back(line);
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(handler.last(EventType::Click)->button, 1);
}

TEST_F(FltkFormsTest, WhatIsDrawnOnAPictureShowsOnTheScreen) {
    auto form = make();
    showAtCorner(*form);
    Surface& picture = *form->control("Picture2").surface();
    imaging::Image red(40, 30, imaging::rgb(255, 0, 0));
    picture.drawImage(red, 10, 10);
    pumpFor(0.2);
    ScreenPoint inside = at(*form, "Picture2", 20, 20), outside = at(*form, "Picture2", 60, 60);
    EXPECT_EQ(probe.screenPixel(inside.x, inside.y), kRed);
    EXPECT_EQ(probe.screenPixel(outside.x, outside.y), 0x000000u);

    // A copy from a hidden picture, as every transition step makes one.
    FltkSurface staged(100, 75);
    staged.clear(bgr(0, 0, 255));
    picture.copyFrom(staged, 50, 40, 20, 25, 0, 0);
    pumpFor(0.2);
    EXPECT_EQ(probe.screenPixel(outside.x, outside.y), 0x0000FFu);
}

// The colour a picture's pixel shows over a background, as 0xRRGGBB.
uint32_t shownOver(imaging::Pixel pixel, Colour under) {
    uint32_t alpha = pixel >> 24, out = 0;
    uint32_t below[3] = {colourRed(under), colourGreen(under), colourBlue(under)};
    uint32_t above[3] = {imaging::red(pixel), imaging::green(pixel), imaging::blue(pixel)};
    for (int i = 0; i < 3; ++i)
        out = (out << 8) | ((above[i] * alpha + below[i] * (255 - alpha) + 127) / 255);
    return out;
}

TEST_F(FltkFormsTest, ImagesShowTheProgramsOwnArtwork) {
    FormSpec design = everyKindLayout();
    design.backColour = bgr(0, 128, 128);
    ControlSpec padlock;
    padlock.name = "Image1";
    padlock.kind = ControlKind::Image;
    padlock.rect = {150, 150, 690, 765};
    padlock.resource = "padlock";
    ControlSpec icon = padlock;
    icon.name = "Image2";
    icon.rect = {1500, 3000, 960, 960};  // 64 x 64 pixels: the 32 x 32 icon twice its size
    icon.stretch = true;
    icon.resource = "icon";
    design.controls = {padlock, icon};
    auto form = make(design);
    showAtCorner(*form);

    imaging::Image lock = artwork::image("padlock");
    ASSERT_EQ(lock.width, 46);
    ScreenPoint origin = at(*form, "Image1", 0, 0);
    int transparent = 0, opaque = 0;
    for (int y = 0; y < lock.height; ++y) {
        for (int x = 0; x < lock.width; ++x) {
            imaging::Pixel p = lock.at(x, y);
            transparent += (p >> 24) == 0 ? 1 : 0;
            opaque += (p >> 24) == 255 ? 1 : 0;
            ASSERT_EQ(probe.screenPixel(origin.x + x, origin.y + y),
                      shownOver(p, design.backColour))
                << "padlock pixel " << x << "," << y;
        }
    }
    // Both kinds were compared: the form's colour shows around the padlock.
    EXPECT_GT(transparent, 0);
    EXPECT_GT(opaque, 0);

    imaging::Image picture = artwork::image("icon");
    ASSERT_EQ(picture.width, 32);
    origin = at(*form, "Image2", 0, 0);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            for (int d : {0, 1})
                ASSERT_EQ(probe.screenPixel(origin.x + 2 * x + d, origin.y + 2 * y + d),
                          shownOver(picture.at(x, y), design.backColour))
                    << "icon pixel " << x << "," << y;
}

TEST_F(FltkFormsTest, TimersTickWhileEnabledAndNotAtIntervalZero) {
    auto form = make();
    Control& timer = form->control("Timer1");
    pumpFor(0.3);
    EXPECT_EQ(handler.count(EventType::Timer), 0);  // interval 0 never ticks
    timer.setInterval(50);
    EXPECT_TRUE(pumpUntil([&] { return handler.count(EventType::Timer, "Timer1") >= 3; }, 2.0));
    timer.setEnabled(false);
    int ticks = handler.count(EventType::Timer);
    pumpFor(0.3);
    EXPECT_EQ(handler.count(EventType::Timer), ticks);
    timer.setEnabled(true);
    form->unload();
    pumpFor(0.3);
    EXPECT_EQ(handler.count(EventType::Timer), ticks);
}

TEST_F(FltkFormsTest, AFormHasItsWindowBeforeItIsShown) {
    auto form = make();
    auto xid = static_cast<unsigned long>(form->handle());
    ASSERT_NE(xid, 0u);
    EXPECT_FALSE(probe.mapped(xid));
    EXPECT_EQ(probe.title(xid), "Every Kind");
    showAtCorner(*form);
    EXPECT_EQ(static_cast<unsigned long>(form->handle()), xid);
    form->unload();
    pumpFor(0.1);
    EXPECT_FALSE(probe.exists(xid));
    EXPECT_EQ(form->control("Text1").text(), "");  // the controls stay usable
}

TEST_F(FltkFormsTest, ADialogWithoutControlBoxAsksForNoCloseButtonAndNoWindowMenu) {
    constexpr long kFunctions = 1, kDecorations = 2, kAllBut = 1, kClose = 32, kMenu = 16;
    auto plain = make();
    FormSpec design = everyKindLayout();
    design.controlBox = false;
    auto bare = make(design);
    auto plainWindow = static_cast<unsigned long>(plain->handle()),
         bareWindow = static_cast<unsigned long>(bare->handle());
    pumpFor(0.2);  // another connection sees the windows once the server has made them
    std::vector<long> hints = probe.motifHints(plainWindow);
    // The usual dialog: no decorations asked away, and close among its functions.
    EXPECT_TRUE(hints.empty() || ((hints[0] & kDecorations) == 0 && (hints[1] & kClose) == 0));
    hints = probe.motifHints(bareWindow);
    ASSERT_EQ(hints.size(), 5u);
    EXPECT_EQ(hints[0], kFunctions | kDecorations);
    EXPECT_EQ(hints[1] & (kAllBut | kClose), 0) << "moving is the only function allowed";
    EXPECT_EQ(hints[2] & kMenu, 0);
    EXPECT_NE(hints[2], 0) << "the title and border stay";
}

TEST_F(FltkFormsTest, AHiddenFormsPicturesHaveWindowsToLend) {
    FormSpec design = everyKindLayout();
    design.style = FormStyle::Hidden;
    auto form = make(design);
    auto picture = static_cast<unsigned long>(form->control("Picture2").handle());
    ASSERT_NE(picture, 0u);
    form->show(false);
    pumpFor(0.2);
    EXPECT_FALSE(probe.mapped(static_cast<unsigned long>(form->handle())));
    EXPECT_EQ(probe.parent(picture), static_cast<unsigned long>(form->handle()));
}

TEST_F(FltkFormsTest, ClosingTheWindowIsTheHandlersToDecide) {
    auto form = make();
    showAtCorner(*form);
    probe.sendDeleteWindow(static_cast<unsigned long>(form->handle()));
    ASSERT_TRUE(pumpUntil([&] { return handler.count(EventType::Close) == 1; }));
    EXPECT_TRUE(form->loaded());
    handler.react = [](Form& f, Event& event) {
        if (event.type == EventType::Close) f.unload();
    };
    probe.sendDeleteWindow(static_cast<unsigned long>(form->handle()));
    EXPECT_TRUE(pumpUntil([&] { return !form->loaded(); }));
}

TEST_F(FltkFormsTest, AFormIsPaintedWhenItIsShown) {
    auto form = make();
    showAtCorner(*form);
    EXPECT_TRUE(pumpUntil([&] { return handler.count(EventType::Paint) >= 1; }));
}

// The pixels of a control as the screen shows them, row by row.
std::vector<uint32_t> shownPixels(X11Probe& probe, ScreenPoint origin, int width, int height) {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(probe.screenPixel(origin.x + x, origin.y + y));
    return pixels;
}

TEST_F(FltkFormsTest, APasswordBoxIsDrawnAsATextBoxShowingOneMaskPerCharacter) {
    auto form = make();
    // Five characters, one of them two bytes long, against five masks typed.
    form->control("Text1").setText("*****");
    form->control("Text2").setText("h\xc3\xa9llo");
    showAtCorner(*form);
    Fl_Widget* plain = widget(*form, "Text1");
    ASSERT_EQ(plain->w(), widget(*form, "Text2")->w());
    ASSERT_EQ(plain->h(), widget(*form, "Text2")->h());
    const int width = plain->w(), height = plain->h();
    auto look = [&](std::string_view name) {
        return shownPixels(probe, at(*form, name, 0, 0), width, height);
    };
    auto focusOn = [&](const char* name) {
        form->control(name).setFocus();
        pumpFor(0.2);
    };
    focusOn("Check1");
    std::vector<uint32_t> enabled = look("Text1");
    EXPECT_EQ(look("Text2"), enabled);
    // With the caret after the last character.
    focusOn("Text1");
    xdotool("key End");
    pumpFor(0.2);
    std::vector<uint32_t> focused = look("Text1");
    focusOn("Text2");
    xdotool("key End");
    pumpFor(0.2);
    EXPECT_EQ(look("Text2"), focused);
    EXPECT_NE(focused, enabled);
    // The masks are drawn at all: the box holds more than its white and its frame.
    focusOn("Check1");
    form->control("Text1").setText("");
    pumpFor(0.2);
    EXPECT_NE(look("Text1"), enabled);

    form->control("Text1").setText("*****");
    for (const char* name : {"Text1", "Text2"}) form->control(name).setEnabled(false);
    pumpFor(0.2);
    std::vector<uint32_t> disabled = look("Text1");
    EXPECT_EQ(look("Text2"), disabled);
    EXPECT_NE(disabled, enabled);
}

TEST_F(FltkFormsTest, APasswordBoxMasksWhatIsTyped) {
    auto form = make();
    showAtCorner(*form);
    form->control("Text2").setFocus();
    xdotool("type --delay 20 secret");
    pumpUntil([&] { return form->control("Text2").text() == "secret"; });
    EXPECT_EQ(form->control("Text2").text(), "secret");
    EXPECT_EQ(PasswordInput::masked("secret", 6, '*'), "******");
    EXPECT_EQ(PasswordInput::masked("\xc3\xa9t\xc3\xa9", 5, '#'), "###");
}

TEST_F(FltkFormsTest, AFileListScrollsSidewaysOnlyWhenANameIsWiderThanIt) {
    auto form = make();
    Control& files = form->control("File1");
    files.setItems({"short.jpg"});
    showAtCorner(*form);
    auto* browser = static_cast<Fl_Browser_*>(widget(*form, "File1"));
    EXPECT_FALSE(browser->hscrollbar.visible());
    files.setItems({"short.jpg", std::string(80, 'n') + ".jpg"});
    browser->redraw();
    pumpFor(0.2);
    EXPECT_TRUE(browser->hscrollbar.visible());
}

TEST_F(FltkFormsTest, AListWhoseRowsFitHasNoScrollBarWhicheverRowIsChosen) {
    auto form = make();
    Control& files = form->control("File1");
    files.move({120, 2640, 2000, 300});  // too small for the rows: the chosen one is scrolled to
    files.setItems({"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"});
    files.setSelectedIndex(4);
    // The configuration dialog sizes its lists after it fills them.
    files.move({120, 2640, 2000, 1800});
    showAtCorner(*form);
    auto* browser = static_cast<Fl_Browser_*>(widget(*form, "File1"));
    EXPECT_EQ(browser->position(), 0);
    EXPECT_FALSE(browser->scrollbar.visible());
}

TEST_F(FltkFormsTest, ALabelCutByItsWindowShowsWholeLinesOnly) {
    FormSpec design;
    design.name = "frmCut";
    design.caption = "Cut";
    design.clientWidth = 3000;
    design.clientHeight = 1200;
    design.backColour = bgr(192, 192, 192);
    ControlSpec notice;
    notice.name = "Notice";
    notice.kind = ControlKind::Label;
    notice.caption = std::string(40, 'g') + " " + std::string(200, 'W');
    notice.rect = {0, 300, 3000, 3000};
    notice.foreColour = bgr(0, 0, 255);
    notice.wordWrap = true;
    // A word's letters wrap within the word when it is wider than the label.
    for (int i = 0; i < 20; ++i) notice.caption += " gWyj";
    design.controls = {notice};
    auto form = make(design);
    showAtCorner(*form);
    auto* label = static_cast<LabelBox*>(widget(*form, "Notice"));
    const int line = label->lineHeight(), top = label->y();
    // The window ends in the middle of the label's fourth line.
    TwipsRect bounds = form->bounds();
    bounds.height = toInt32((top + 3 * line + line / 2) * host.screen().twipsPerPixelY());
    form->move(bounds);
    pumpFor(0.3);
    const int bottom = label->window()->h();
    const int whole = LabelBox::wholeLinesHeight(label->h(), bottom - top, line);
    ASSERT_EQ(whole, 3 * line);
    // Rows where any of the text's ink shows over the grey.
    auto inkedRows = [&](int from, int to) {
        int rows = 0;
        for (int y = from; y < to; ++y)
            for (int x = 0; x < label->w(); x += 2)
                if (ScreenPoint p = at(*form, "Notice", x, y - top);
                    probe.screenPixel(p.x, p.y) != 0xC0C0C0u) {
                    ++rows;
                    break;
                }
        return rows;
    };
    EXPECT_GT(inkedRows(top, top + whole), 0);
    EXPECT_EQ(inkedRows(top + whole, bottom), 0) << "a line is cut at the window's edge";
}

TEST(LabelBoxTest, KeepsTheWholeLinesThatFit) {
    EXPECT_EQ(LabelBox::wholeLinesHeight(100, 200, 13), 100);  // not cut
    EXPECT_EQ(LabelBox::wholeLinesHeight(100, 100, 13), 100);
    EXPECT_EQ(LabelBox::wholeLinesHeight(100, 22, 13), 13);
    EXPECT_EQ(LabelBox::wholeLinesHeight(100, 26, 13), 26);
    EXPECT_EQ(LabelBox::wholeLinesHeight(100, 12, 13), 0);
    EXPECT_EQ(LabelBox::wholeLinesHeight(100, -5, 13), 0);
}

TEST(FltkStyleTest, EveryKindOfLineBreakBecomesOne) {
    EXPECT_EQ(plainLabel("one\r\ntwo"), "one\ntwo");
    EXPECT_EQ(plainLabel("one\n\r\n\rtwo"), "one\n\ntwo");
    EXPECT_EQ(plainLabel("one\r\n\r\ntwo\rthree\nfour"), "one\n\ntwo\nthree\nfour");
    EXPECT_EQ(plainLabel("a\r\r\n"), "a\n\n");
    EXPECT_EQ(widgetLabel("&Old\r\n@home & co"), "&Old\n@@home & co");
    EXPECT_EQ(plainLabel("R&D\r"), "R&&D\n");
}

}  // namespace
}  // namespace pictavo::platform::fltk
