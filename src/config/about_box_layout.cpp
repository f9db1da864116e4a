#include "config/about_box.h"
#include "config/colours.h"

namespace pictavo::config {

namespace {
using platform::ControlKind;
using platform::ControlSpec;

ControlSpec text(const char* name, const char* caption, platform::TwipsRect rect) {
    return {.name = name,
            .kind = ControlKind::Label,
            .caption = caption,
            .rect = rect,
            .foreColour = kBlue};
}

constexpr const char* kNotice =
    "Pictavo shows the pictures of one folder you choose, in random order, with a transition "
    "effect between "
    "one picture and the next. It reads that folder and nothing else, keeps its few settings (the "
    "folder, the "
    "time between pictures, the speed, stretching and its password) in your own settings store, "
    "and sends "
    "nothing anywhere. Its password is its own, not your logon password, and is kept encoded, not "
    "encrypted: "
    "it keeps a passer-by away from your screen, not a determined intruder.";
}  // namespace

platform::FormSpec AboutBox::layout() {
    platform::FormSpec design;
    design.name = kFormName;
    design.caption = "About Pictavo/32";
    design.clientWidth = 7470;
    design.clientHeight = 3570;
    design.backColour = kLightGrey;
    design.foreColour = kBlue;
    design.controls = {
        text("Label1", "", {360, 120, 3975, 255}),
        text("Label2", "A slide show of your own pictures", {360, 360, 4335, 255}),
        text("Label3", "for Windows and Linux desktops.", {360, 600, 3975, 255}),
        {.name = "Line1", .kind = ControlKind::Line, .rect = {360, 900, 4560, 0}},
        text("Label4", "Address any questions about this product to", {360, 960, 4695, 255}),
        text("Label6", "the maintainers of the Pictavo sources,", {360, 1200, 4695, 255}),
        text("Label5", "through the project's issue tracker.", {360, 1440, 4695, 255}),
        {.name = "Command2",
         .kind = ControlKind::Button,
         .caption = "OK",
         .rect = {5520, 960, 1575, 375},
         .isDefault = true,
         .tabIndex = 0},
        {.name = "btnExpand",
         .kind = ControlKind::Button,
         .caption = "Ombudsman   >>",
         .rect = {5520, 1440, 1575, 375},
         .tabIndex = 1},
        {.name = "Image1",
         .kind = ControlKind::Image,
         .rect = {5880, 120, 735, 735},
         .stretch = true,
         .resource = "icon"},
        // Lies on the icon's own screen.
        {.name = "LittleScreen",
         .kind = ControlKind::Shape,
         .rect = {5990, 225, 520, 390},
         .fillStyle = 0,
         .fillColour = kLightCyan},
        {.name = "Ombudsman",
         .kind = ControlKind::Label,
         .caption = kNotice,
         .rect = {360, 2040, 6735, 1560},
         .foreColour = kBlue,
         .wordWrap = true},
        {.name = "Timer1", .kind = ControlKind::Timer, .intervalMs = 400},
    };
    return design;
}

}  // namespace pictavo::config
