#include "hosts/win32/input_box.h"

#include <vector>

#include "hosts/win32/text_encoding.h"

namespace pictavo::platform::win32 {

namespace {
constexpr const wchar_t* kClassName = L"PictavoInputBox";
constexpr int kEditId = 100;

// Pixels at 96 dots per inch.
constexpr int kClientWidth = 360;
constexpr int kClientHeight = 130;
constexpr int kMargin = 10;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 24;
constexpr int kEditHeight = 22;

HWND createChild(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style,
                 int id, int x, int y, int width, int height, DWORD exStyle = 0) {
    HWND child =
        CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y,
                        width, height, parent, reinterpret_cast<HMENU>(static_cast<intptr_t>(id)),
                        GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    return child;
}

std::string windowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return toUtf8(text);
}
}  // namespace

InputBox::~InputBox() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

std::optional<std::string> InputBox::ask(const std::string& prompt, const std::string& title,
                                         const std::string& initial) {
    registerClass(kClassName, GetSysColorBrush(COLOR_BTNFACE));
    DWORD style = WS_CAPTION | WS_SYSMENU | WS_BORDER;
    DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_TOPMOST;
    RECT outer{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    int width = outer.right - outer.left;
    int height = outer.bottom - outer.top;
    HWND owner = GetActiveWindow();
    createNative(exStyle, kClassName, toWide(title).c_str(), style,
                 (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, owner);
    if (hwnd_ == nullptr) return std::nullopt;
    createChildren(prompt, initial);

    std::vector<HWND> disabled;
    for (HWND window : windows_.all())
        if (IsWindowEnabled(window)) {
            EnableWindow(window, FALSE);
            disabled.push_back(window);
        }
    windows_.add(hwnd_, *this);
    ShowWindow(hwnd_, SW_SHOW);
    SetFocus(edit_);
    SendMessageW(edit_, EM_SETSEL, 0, -1);
    loop_.pumpWhile([this] { return hwnd_ != nullptr; });
    for (HWND window : disabled)
        if (IsWindow(window)) EnableWindow(window, TRUE);
    if (owner != nullptr && IsWindow(owner)) SetActiveWindow(owner);
    return answer_;
}

void InputBox::createChildren(const std::string& prompt, const std::string& initial) {
    int promptWidth = kClientWidth - 3 * kMargin - kButtonWidth;
    int buttonX = kClientWidth - kMargin - kButtonWidth;
    createChild(hwnd_, L"STATIC", toWide(prompt), SS_LEFT, -1, kMargin, kMargin, promptWidth,
                kClientHeight - 3 * kMargin - kEditHeight);
    createChild(hwnd_, L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, buttonX, kMargin,
                kButtonWidth, kButtonHeight);
    createChild(hwnd_, L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, buttonX,
                kMargin + kButtonHeight + 6, kButtonWidth, kButtonHeight);
    edit_ = createChild(hwnd_, L"EDIT", toWide(initial), ES_AUTOHSCROLL | WS_TABSTOP, kEditId,
                        kMargin, kClientHeight - kMargin - kEditHeight, kClientWidth - 2 * kMargin,
                        kEditHeight, WS_EX_CLIENTEDGE);
}

void InputBox::finish(bool accepted) {
    answer_ = accepted ? std::optional<std::string>(windowText(edit_)) : std::nullopt;
    DestroyWindow(hwnd_);
}

bool InputBox::preTranslate(MSG& message) {
    return hwnd_ != nullptr && IsDialogMessageW(hwnd_, &message) != FALSE;
}

LRESULT InputBox::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
                finish(LOWORD(wParam) == IDOK);
            return 0;
        case WM_CLOSE:
            finish(false);
            return 0;
        case WM_NCDESTROY:
            windows_.remove(hwnd_);
            return defaultHandling(message, wParam, lParam);
        default:
            return defaultHandling(message, wParam, lParam);
    }
}

}  // namespace pictavo::platform::win32
