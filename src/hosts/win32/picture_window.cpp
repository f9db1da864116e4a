#include "hosts/win32/picture_window.h"

namespace pictavo::platform::win32 {

PictureWindow::PictureWindow(Owner& owner, HWND parent, int id, DWORD style) : owner_(owner) {
    registerClass(kPictureClassName, nullptr);  // the paint covers everything
    // A control parent, so Tab reaches the controls placed on the picture.
    CreateWindowExW(WS_EX_CONTROLPARENT, kPictureClassName, L"", style, 0, 0, 0, 0, parent,
                    reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), GetModuleHandleW(nullptr),
                    static_cast<PictureWindow*>(this));
}

PictureWindow::~PictureWindow() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

LRESULT PictureWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd_, &paint);
            owner_.paintPicture(dc, paint.rcPaint);
            EndPaint(hwnd_, &paint);
            return 0;
        }
        case WM_PRINTCLIENT: {
            RECT client{};
            GetClientRect(hwnd_, &client);
            owner_.paintPicture(reinterpret_cast<HDC>(wParam), client);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            owner_.pictureMouse(message, wParam, lParam);
            return 0;
        case WM_COMMAND:
        case WM_DRAWITEM:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            return owner_.childNotification(message, wParam, lParam);
        case WM_CLOSE:
            return 0;
        default:
            return defaultHandling(message, wParam, lParam);
    }
}

}  // namespace pictavo::platform::win32
