// Labels, and the buttons, check boxes and options a click presses. The
// buttons never check themselves (no BS_AUTO... styles): a click goes to
// the dialog manager, which checks, chooses and focuses, as it does for
// the keys.

#include "dialogs/form_base.h"
#include "hosts/win32/win32_role.h"

namespace pictavo::platform::win32 {

namespace {

DWORD alignStyle(Align align) {
    switch (align) {
        case Align::Right:
            return SS_RIGHT;
        case Align::Centre:
            return SS_CENTER;
        case Align::Left:
            break;
    }
    return SS_LEFT;
}

class StaticRole : public Win32Role {
  public:
    StaticRole(RoleHost& host, Control& control, int id) : Win32Role(host, control, id) {
        createStandard(L"STATIC", SS_NOTIFY | alignStyle(control.design().align), 0);
    }
    void notified(int code) override {
        if (code == STN_CLICKED) host_.form().dialog().clicked(control_);
    }

  protected:
    void show(Properties changed) override {
        if (changed.has(Property::Caption)) setWindowText(control_.caption());
    }
};

DWORD buttonStyle(const ControlSpec& design) {
    switch (design.kind) {
        case ControlKind::CheckBox:
            return BS_CHECKBOX;
        case ControlKind::OptionButton:
            return BS_RADIOBUTTON;
        default:
            return design.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    }
}

class ButtonRole : public Win32Role {
  public:
    ButtonRole(RoleHost& host, Control& control, int id) : Win32Role(host, control, id) {
        createStandard(L"BUTTON", buttonStyle(control.design()), 0);
    }
    void notified(int code) override {
        if (code == BN_CLICKED) host_.form().dialog().clicked(control_);
    }

  protected:
    void show(Properties changed) override {
        if (hwnd_ == nullptr) return;
        if (changed.has(Property::Caption)) setWindowText(control_.caption());
        if (changed.has(Property::Value) && control_.design().kind != ControlKind::Button)
            SendMessageW(hwnd_, BM_SETCHECK, control_.value() != 0 ? BST_CHECKED : BST_UNCHECKED,
                         0);
    }
};

}  // namespace

std::unique_ptr<Win32Role> makeStaticRole(RoleHost& host, Control& control, int id) {
    return std::make_unique<StaticRole>(host, control, id);
}

std::unique_ptr<Win32Role> makeButtonRole(RoleHost& host, Control& control, int id) {
    return std::make_unique<ButtonRole>(host, control, id);
}

}  // namespace pictavo::platform::win32
