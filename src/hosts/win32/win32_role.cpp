#include "hosts/win32/win32_role.h"

#include <algorithm>

#include "hosts/win32/handles.h"
#include "hosts/win32/system_dialog.h"
#include "hosts/win32/text_encoding.h"

namespace pictavo::platform::win32 {

Win32Role::~Win32Role() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

DWORD Win32Role::baseStyle() const {
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    if (control_.design().tabIndex >= 0) style |= WS_TABSTOP;
    if (control_.visible()) style |= WS_VISIBLE;
    if (!control_.enabled()) style |= WS_DISABLED;
    return style;
}

void Win32Role::createStandard(const wchar_t* className, DWORD style, DWORD exStyle) {
    auto [parent, origin] = host_.placementFor(control_.design().parent);
    hwnd_ = CreateWindowExW(exStyle, className, L"", baseStyle() | style, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<intptr_t>(id_)),
                            GetModuleHandleW(nullptr), nullptr);
    if (hwnd_ == nullptr) return;
    if (HFONT font = host_.fontFor(control_); font != nullptr)
        SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    place();
    host_.beginProgrammaticChange();
    show(Properties::all());
    host_.endProgrammaticChange();
}

void Win32Role::update(Properties changed) {
    HWND own = window();
    if (own != nullptr) {
        if (changed.has(Property::Enabled)) EnableWindow(own, control_.enabled() ? TRUE : FALSE);
        if (changed.has(Property::Visible))
            ShowWindow(own, control_.visible() ? SW_SHOWNA : SW_HIDE);
        if (changed.has(Property::Bounds)) place();
        if (changed.has(Property::ForeColour)) InvalidateRect(own, nullptr, TRUE);
    }
    host_.beginProgrammaticChange();
    show(changed);
    host_.endProgrammaticChange();
}

void Win32Role::focus() {
    HWND own = window();
    if (own == nullptr) return;
    // The focus asked for again by a repaint under a message box would
    // activate this form over the box and take the box's keys.
    HWND root = GetAncestor(own, GA_ROOT);
    HWND active = GetActiveWindow();
    if (!IsWindowEnabled(root) || (active != root && isSystemDialog(active))) return;
    SetFocus(own);
}

WindowHandle Win32Role::handle() const {
    return toHandle(window());
}

RECT Win32Role::areaInContainer() const {
    const TwipsScale& scale = host_.scale();
    POINT origin = host_.placementFor(control_.design().parent).second;
    const TwipsRect& rect = control_.bounds();
    int left = origin.x + scale.toPixelsX(rect.left);
    int top = origin.y + scale.toPixelsY(rect.top);
    return {left, top, left + scale.toPixelsX(rect.width), top + scale.toPixelsY(rect.height)};
}

void Win32Role::place() {
    HWND own = window();
    if (own == nullptr) return;
    RECT area = areaInContainer();
    MoveWindow(own, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

std::string Win32Role::windowText() const {
    int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(hwnd_, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return toUtf8(text);
}

void Win32Role::setWindowText(const std::string& text) {
    if (hwnd_ != nullptr) SetWindowTextW(hwnd_, toWide(text).c_str());
}

namespace {

struct RoleOfKind {
    ControlKind kind;
    std::unique_ptr<Win32Role> (*make)(RoleHost&, Control&, int);
};

constexpr RoleOfKind kRoles[] = {
    {ControlKind::Label, makeStaticRole},       {ControlKind::Button, makeButtonRole},
    {ControlKind::CheckBox, makeButtonRole},    {ControlKind::OptionButton, makeButtonRole},
    {ControlKind::TextBox, makeEditRole},       {ControlKind::HScrollBar, makeScrollBarRole},
    {ControlKind::PictureBox, makePictureRole}, {ControlKind::Image, makeGraphicRole},
    {ControlKind::Shape, makeGraphicRole},      {ControlKind::Line, makeGraphicRole},
    {ControlKind::DriveList, makeComboRole},    {ControlKind::DirList, makeListRole},
    {ControlKind::FileList, makeListRole},      {ControlKind::Timer, makeTimerRole},
};

}  // namespace

std::unique_ptr<Win32Role> makeWin32Role(RoleHost& host, Control& control, int id) {
    for (const RoleOfKind& role : kRoles)
        if (role.kind == control.design().kind) return role.make(host, control, id);
    return makeGraphicRole(host, control, id);  // a kind without a role shows nothing
}

}  // namespace pictavo::platform::win32
