// Text boxes and the scroll bar: the system's controls edit and scroll
// themselves; each change goes to the dialog manager.

#include <algorithm>

#include "dialogs/form_base.h"
#include "hosts/win32/win32_role.h"

namespace pictavo::platform::win32 {

namespace {

class EditRole : public Win32Role {
  public:
    EditRole(RoleHost& host, Control& control, int id) : Win32Role(host, control, id) {
        const ControlSpec& design = control.design();
        createStandard(
            L"EDIT",
            static_cast<DWORD>(ES_AUTOHSCROLL | (design.passwordChar != 0 ? ES_PASSWORD : 0)),
            WS_EX_CLIENTEDGE);
        if (hwnd_ == nullptr) return;
        if (design.passwordChar != 0)
            SendMessageW(hwnd_, EM_SETPASSWORDCHAR, static_cast<WPARAM>(design.passwordChar), 0);
        if (design.maxLength > 0)
            SendMessageW(hwnd_, EM_SETLIMITTEXT, static_cast<WPARAM>(design.maxLength), 0);
    }
    void notified(int code) override {
        if (code == EN_CHANGE) host_.form().dialog().typed(control_, windowText());
    }
    // As in any dialog, a text box that gets the focus has its text selected.
    void focus() override {
        Win32Role::focus();
        if (hwnd_ != nullptr) SendMessageW(hwnd_, EM_SETSEL, 0, -1);
    }

  protected:
    void show(Properties changed) override {
        if (changed.has(Property::Text)) setWindowText(control_.text());
    }
};

class ScrollBarRole : public Win32Role {
  public:
    ScrollBarRole(RoleHost& host, Control& control, int id) : Win32Role(host, control, id) {
        createStandard(L"SCROLLBAR", SBS_HORZ, 0);
        if (hwnd_ == nullptr) return;
        const ControlSpec& design = control.design();
        SCROLLINFO info{sizeof info,
                        SIF_RANGE | SIF_POS,
                        design.minimum,
                        design.maximum,
                        0,
                        control.value(),
                        0};
        SetScrollInfo(hwnd_, SB_CTL, &info, FALSE);
    }
    // The bar does not move itself: the position follows the code given.
    void scrolled(int code, int trackPosition) override {
        const ControlSpec& design = control_.design();
        int next = control_.value();
        switch (code) {
            case SB_LINELEFT:
                next -= design.smallChange;
                break;
            case SB_LINERIGHT:
                next += design.smallChange;
                break;
            case SB_PAGELEFT:
                next -= design.largeChange;
                break;
            case SB_PAGERIGHT:
                next += design.largeChange;
                break;
            case SB_LEFT:
                next = design.minimum;
                break;
            case SB_RIGHT:
                next = design.maximum;
                break;
            case SB_THUMBTRACK:
            case SB_THUMBPOSITION:
                next = trackPosition;
                break;
            default:
                return;
        }
        host_.form().dialog().scrolled(control_, next);
        if (hwnd_ != nullptr) SetScrollPos(hwnd_, SB_CTL, control_.value(), TRUE);
    }

  protected:
    void show(Properties changed) override {
        if (changed.has(Property::Value) && hwnd_ != nullptr)
            SetScrollPos(hwnd_, SB_CTL, control_.value(), TRUE);
    }
};

}  // namespace

std::unique_ptr<Win32Role> makeEditRole(RoleHost& host, Control& control, int id) {
    return std::make_unique<EditRole>(host, control, id);
}

std::unique_ptr<Win32Role> makeScrollBarRole(RoleHost& host, Control& control, int id) {
    return std::make_unique<ScrollBarRole>(host, control, id);
}

}  // namespace pictavo::platform::win32
