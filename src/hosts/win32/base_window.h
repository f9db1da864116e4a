#pragma once
// One C++ object per native window: the object rides along in
// CreateWindowEx's last argument, is attached to the window at WM_NCCREATE
// and gets every later message through Derived::handleMessage.

#include <windows.h>

namespace pictavo::platform::win32 {

template <typename Derived>
class BaseWindow {
  public:
    HWND hwnd() const { return hwnd_; }

  protected:
    BaseWindow() = default;
    ~BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;

    // Registers the class on first use; every object of Derived shares it.
    static void registerClass(const wchar_t* className, HBRUSH background) {
        WNDCLASSEXW existing{};
        existing.cbSize = sizeof existing;
        HINSTANCE instance = GetModuleHandleW(nullptr);
        if (GetClassInfoExW(instance, className, &existing)) return;
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &BaseWindow::procedure;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        windowClass.hbrBackground = background;
        windowClass.lpszClassName = className;
        RegisterClassExW(&windowClass);
    }

    HWND createNative(DWORD exStyle, const wchar_t* className, const wchar_t* caption, DWORD style,
                      int x, int y, int width, int height, HWND owner) {
        return CreateWindowExW(exStyle, className, caption, style, x, y, width, height, owner,
                               nullptr, GetModuleHandleW(nullptr), static_cast<Derived*>(this));
    }

    LRESULT defaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }

    HWND hwnd_ = nullptr;

  private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        Derived* self = nullptr;
        if (message == WM_NCCREATE) {
            self = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
        LRESULT result = self->handleMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }
};

}  // namespace pictavo::platform::win32
