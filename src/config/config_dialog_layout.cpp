// The configuration dialog as designed: a button column on the right, the
// folder panel and three small panels on the left, over a tiled texture.

#include "config/colours.h"
#include "config/config_dialog.h"
#include "config/layout_helpers.h"

namespace pictavo::config {

namespace {
using platform::Align;
using platform::ControlKind;
using platform::ControlSpec;
using platform::Font;

const Font kPanelFont{"MS Sans Serif", 9.75, false};
const Font kFolderPanelFont{"MS Sans Serif", 9.75, true};

// Labels on the panels: blue on whatever lies beneath.
ControlSpec panelLabel(const char* name, const char* caption, platform::TwipsRect rect,
                       const char* parent, const Font& font = kPanelFont) {
    return {.name = name,
            .kind = ControlKind::Label,
            .caption = caption,
            .rect = rect,
            .parent = parent,
            .font = font,
            .foreColour = kBlue,
            .transparent = true};
}

ControlSpec button(const char* name, const char* caption, int top, int tabIndex) {
    return {.name = name,
            .kind = ControlKind::Button,
            .caption = caption,
            .rect = {4200, top, 1215, 375},
            .tabIndex = tabIndex};
}

ControlSpec outline(const char* name, platform::TwipsRect rect, platform::Colour colour) {
    return {.name = name,
            .kind = ControlKind::Shape,
            .rect = rect,
            .fillStyle = 1,
            .borderColour = colour};
}

ControlSpec panel(const char* name, platform::TwipsRect rect) {
    return {.name = name, .kind = ControlKind::PictureBox, .rect = rect, .backColour = kLightGrey};
}

ControlSpec option(const char* name, const char* caption, platform::TwipsRect rect, int tabIndex,
                   int value = 0) {
    return {.name = name,
            .kind = ControlKind::OptionButton,
            .caption = caption,
            .rect = rect,
            .parent = "Picture6",
            .tabIndex = tabIndex,
            .value = value};
}

void addButtonColumn(std::vector<ControlSpec>& c) {
    c.push_back(outline("Shape3", {4080, 120, 1440, 5655}, kGrey));
    c.push_back(outline("Shape2", {4095, 135, 1440, 5655}, kWhite));
    c.push_back(button("PicBtn2", "&About", 1680, 11));
    c.push_back(button("PicBtn3", "&Help", 3840, 12));
    ControlSpec cancel = button("PicBtn4", "Cancel", 4560, 13);
    cancel.isCancel = true;
    c.push_back(cancel);
    ControlSpec ok = button("PicBtn5", "OK", 5280, 14);
    ok.isDefault = true;
    c.push_back(ok);
}

void addFolderPanel(std::vector<ControlSpec>& c) {
    c.push_back(outline("Shape5", {120, 105, 3855, 2445}, kGrey));
    c.push_back(outline("Shape4", {135, 120, 3855, 2445}, kWhite));
    c.push_back(
        panelLabel("Label6", "Images on drive:", {480, 180, 1935, 255}, "", kFolderPanelFont));
    c.push_back({.name = "Drive1",
                 .kind = ControlKind::DriveList,
                 .rect = {360, 480, 3495, 315},
                 .tabIndex = 0});
    c.push_back(panelLabel("Label5", "In directory:", {480, 930, 1455, 255}, "", kFolderPanelFont));
    ControlSpec files =
        panelLabel("Label7", "Files:", {2160, 930, 1455, 255}, "", kFolderPanelFont);
    files.align = Align::Centre;
    c.push_back(files);
    c.push_back({.name = "Dir1",
                 .kind = ControlKind::DirList,
                 .rect = {240, 1200, 1695, 1155},
                 .foreColour = kBlack,
                 .backColour = kWhite,
                 .tabIndex = 1});
    c.push_back({.name = "File1",
                 .kind = ControlKind::FileList,
                 .rect = {2160, 1200, 1650, 840},
                 .tabIndex = 2});
}

void addPasswordPanel(std::vector<ControlSpec>& c) {
    const platform::TwipsRect rect{150, 2655, 3810, 615};
    c.push_back(panel("Picture5", rect));
    addPanelOutline(c, {"Line6", "Line5", "Line2", "Line4"}, rect);
    c.push_back({.name = "PassWordCheck",
                 .kind = ControlKind::CheckBox,
                 .caption = "&Password Protected",
                 .rect = {120, 180, 1815, 255},
                 .parent = "Picture5",
                 .tabIndex = 3});
    c.push_back({.name = "PasswordButton",
                 .kind = ControlKind::Button,
                 .caption = "&Set Password...",
                 .rect = {2160, 120, 1575, 375},
                 .parent = "Picture5",
                 .enabled = false,
                 .tabIndex = 4});
}

void addStretchPanel(std::vector<ControlSpec>& c) {
    const platform::TwipsRect rect{150, 3375, 3810, 465};
    c.push_back(panel("Picture1", rect));
    addPanelOutline(c, {"Line13", "Line14", "Line15", "Line16"}, rect);
    c.push_back({.name = "btnStretch",
                 .kind = ControlKind::CheckBox,
                 .caption = "S&tretch all pictures to fit screen size",
                 .rect = {480, 120, 3015, 255},
                 .parent = "Picture1",
                 // Reachable with Tab too, in its place between the panels above and below.
                 .tabIndex = 5});
}

void addSpeedPanel(std::vector<ControlSpec>& c) {
    const platform::TwipsRect rect{150, 3960, 3810, 720};
    c.push_back(panel("Picture7", rect));
    addPanelOutline(c, {"Line9", "Line10", "Line11", "Line12"}, rect);
    c.push_back(panelLabel("Label2", "Transition Speed", {120, 0, 1815, 255}, "Picture7"));
    c.push_back(panelLabel("Label1", "Fastest", {120, 360, 855, 255}, "Picture7"));
    c.push_back({.name = "HScroll1",
                 .kind = ControlKind::HScrollBar,
                 .rect = {960, 360, 2175, 255},
                 .parent = "Picture7",
                 .tabIndex = 6,
                 .minimum = 1,
                 .maximum = 1000,
                 .smallChange = 1,
                 .largeChange = 1,
                 .value = 1});
    ControlSpec slow = panelLabel("Label4", "Slow", {3240, 360, 495, 255}, "Picture7");
    slow.align = Align::Right;
    c.push_back(slow);
    ControlSpec mirror = panelLabel("TransSpeed", "1", {2400, 0, 615, 255}, "Picture7");
    mirror.foreColour = kRed;
    mirror.align = Align::Centre;
    mirror.visible = false;
    c.push_back(mirror);
}

void addIntervalPanel(std::vector<ControlSpec>& c) {
    const platform::TwipsRect rect{150, 4800, 3810, 960};
    c.push_back(panel("Picture6", rect));
    addPanelOutline(c, {"Line1", "Line3", "Line7", "Line8"}, rect);
    c.push_back(panelLabel("Label3", "Time Between Slides", {120, 0, 3735, 255}, "Picture6"));
    c.push_back(option("Option3D7", "&3 Sec.", {240, 270, 1335, 285}, 7));
    c.push_back(option("Option3D8", "&10 Sec.", {1320, 270, 1335, 285}, 8));
    c.push_back(option("Option3D9", "&20 Sec.", {2520, 270, 975, 285}, 9));
    c.push_back(option("Option3D10", "C&ustom Interval", {240, 600, 3615, 330}, 10, 1));
}
}  // namespace

platform::FormSpec ConfigDialog::layout() {
    platform::FormSpec design;
    design.name = kFormName;
    design.caption = "Configure Pictavo";
    design.clientWidth = 5655;
    design.clientHeight = 5910;
    design.backColour = kLightGrey;
    design.font = Font{"MS Sans Serif", 8.25, true};
    std::vector<ControlSpec>& c = design.controls;
    addButtonColumn(c);
    addFolderPanel(c);
    addPasswordPanel(c);
    addStretchPanel(c);
    addSpeedPanel(c);
    addIntervalPanel(c);
    // The texture the background is tiled from; never shown itself.
    c.push_back({.name = "Shape1",
                 .kind = ControlKind::PictureBox,
                 .rect = {2880, 240, 720, 720},
                 .visible = false,
                 .resource = "texture"});
    return design;
}

}  // namespace pictavo::config
