#include "config/change_password_dialog.h"
#include "config/colours.h"

namespace pictavo::config {

namespace {
using platform::ControlKind;
using platform::ControlSpec;

constexpr int kPasswordLength = 20;

ControlSpec prompt(const char* name, const char* caption, int top, bool enabled) {
    return {.name = name,
            .kind = ControlKind::Label,
            .caption = caption,
            .rect = {0, top, 1815, 255},
            .enabled = enabled,
            .align = platform::Align::Right};
}

ControlSpec passwordBox(const char* name, int top, bool enabled, int tabIndex) {
    return {.name = name,
            .kind = ControlKind::TextBox,
            .rect = {1920, top, 1815, 285},
            .enabled = enabled,
            .passwordChar = '*',
            .maxLength = kPasswordLength,
            .tabIndex = tabIndex};
}
}  // namespace

platform::FormSpec ChangePasswordDialog::layout() {
    platform::FormSpec design;
    design.name = kFormName;
    design.caption = "Change Password";
    design.clientWidth = 5325;
    design.clientHeight = 1980;
    design.backColour = kLightGrey;
    design.font = platform::Font{"MS Sans Serif", 8.25, false};
    design.controls = {
        {.name = "Label4",
         .kind = ControlKind::Label,
         .caption = "Change password for Windows Screen Saver",
         .rect = {120, 240, 3735, 255}},
        prompt("Label1", "&Old password:", 660, true),
        passwordBox("Text1", 600, true, 0),
        prompt("Label3", "&New password:", 1140, false),
        passwordBox("Text2", 1080, false, 1),
        prompt("Label2", "&Confirm new password:", 1620, false),
        passwordBox("Text3", 1560, false, 2),
        {.name = "PicBtn5",
         .kind = ControlKind::Button,
         .caption = "OK",
         .rect = {4080, 240, 1095, 375},
         .isDefault = true,
         .tabIndex = 3},
        {.name = "PicBtn4",
         .kind = ControlKind::Button,
         .caption = "Cancel",
         .rect = {4080, 720, 1095, 375},
         .isCancel = true,
         .tabIndex = 4},
    };
    return design;
}

}  // namespace pictavo::config
