#include "config/input_box.h"

namespace pictavo::config {

namespace {
using platform::ControlKind;

// Button face, system colour 15: the box looks like the system's own dialogs.
constexpr platform::Colour kButtonFace = 0x8000000Fu;
}  // namespace

// 15 twips a pixel: a client area of 360 x 130 pixels with 10-pixel margins,
// the prompt and the buttons side by side above a text box as wide as the box.
platform::FormSpec InputBox::layout() {
    platform::FormSpec design;
    design.name = kFormName;
    design.clientWidth = 5400;
    design.clientHeight = 1950;
    design.backColour = kButtonFace;
    design.font = platform::Font{"MS Shell Dlg", 8, false};
    design.topmost = true;
    design.controls = {
        {.name = "Prompt",
         .kind = ControlKind::Label,
         .rect = {150, 150, 3750, 1170},
         .wordWrap = true},
        {.name = "OK",
         .kind = ControlKind::Button,
         .caption = "OK",
         .rect = {4050, 150, 1200, 360},
         .isDefault = true,
         .tabIndex = 1},
        {.name = "Cancel",
         .kind = ControlKind::Button,
         .caption = "Cancel",
         .rect = {4050, 600, 1200, 360},
         .isCancel = true,
         .tabIndex = 2},
        {.name = "Answer",
         .kind = ControlKind::TextBox,
         .rect = {150, 1470, 5100, 330},
         .tabIndex = 0},
    };
    return design;
}

}  // namespace pictavo::config
