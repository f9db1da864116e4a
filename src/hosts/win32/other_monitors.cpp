#include "hosts/win32/other_monitors.h"

#include <windowsx.h>

namespace pictavo::platform::win32 {

namespace {
constexpr const wchar_t* kCoverClassName = L"PictavoMonitorCover";

BOOL CALLBACK addOtherMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info) && (info.dwFlags & MONITORINFOF_PRIMARY) == 0)
        reinterpret_cast<std::vector<RECT>*>(data)->push_back(info.rcMonitor);
    return TRUE;
}

LPARAM pointParameter(POINT at) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(at.x)),
                      static_cast<WORD>(static_cast<short>(at.y)));
}
}  // namespace

std::vector<RECT> otherMonitorAreas() {
    std::vector<RECT> areas;
    EnumDisplayMonitors(nullptr, nullptr, &addOtherMonitor, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

MonitorCover::MonitorCover(HWND form, const RECT& monitor) : form_(form) {
    registerClass(kCoverClassName, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    // Owned by the form, so it goes when the form goes; kept off the taskbar.
    createNative(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kCoverClassName, L"", WS_POPUP, monitor.left,
                 monitor.top, monitor.right - monitor.left, monitor.bottom - monitor.top, form);
    if (hwnd_ != nullptr) ShowWindow(hwnd_, SW_SHOWNA);
}

MonitorCover::~MonitorCover() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

HWND MonitorCover::target(POINT& centre) const {
    RECT client{};
    GetClientRect(form_, &client);
    centre = {client.right / 2, client.bottom / 2};
    HWND window = ChildWindowFromPointEx(form_, centre, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
    if (window == nullptr) window = form_;
    MapWindowPoints(form_, window, &centre, 1);
    return window;
}

void MonitorCover::forwardMove(WPARAM wParam, LPARAM lParam) {
    POINT centre{};
    HWND window = target(centre);
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    MapWindowPoints(hwnd_, window, &at, 1);
    SendMessageW(window, WM_MOUSEMOVE, wParam, pointParameter(at));
}

void MonitorCover::forwardClick(UINT down, UINT up) {
    POINT centre{};
    HWND window = target(centre);
    SendMessageW(window, down, 0, pointParameter(centre));
    if (IsWindow(window)) SendMessageW(window, up, 0, pointParameter(centre));
}

LRESULT MonitorCover::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
        case WM_CHAR:
            SendMessageW(form_, message, wParam, lParam);
            return 0;
        case WM_MOUSEMOVE:
            forwardMove(wParam, lParam);
            return 0;
        case WM_LBUTTONUP:
            forwardClick(WM_LBUTTONDOWN, WM_LBUTTONUP);
            return 0;
        case WM_RBUTTONUP:
            forwardClick(WM_RBUTTONDOWN, WM_RBUTTONUP);
            return 0;
        case WM_MBUTTONUP:
            forwardClick(WM_MBUTTONDOWN, WM_MBUTTONUP);
            return 0;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;  // the form keeps the keyboard
        default:
            return defaultHandling(message, wParam, lParam);
    }
}

OtherMonitors::OtherMonitors(HWND form) {
    for (const RECT& area : otherMonitorAreas())
        covers_.push_back(std::make_unique<MonitorCover>(form, area));
}

bool OtherMonitors::owns(HWND window) const {
    for (const auto& cover : covers_)
        if (cover->window() == window) return true;
    return false;
}

}  // namespace pictavo::platform::win32
