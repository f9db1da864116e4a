#include "hosts/win32/win32_window_system.h"

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include "hosts/win32/handles.h"
#include "hosts/win32/text_encoding.h"

namespace pictavo::platform::win32 {

namespace {
constexpr UINT kTopmostFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;  // 19

class SubclassHook : public MessageHookHandle {
  public:
    SubclassHook(HWND window, UINT message, std::function<void(uint32_t)> report)
        : window_(window), message_(message), report_(std::move(report)) {
        attached_ = GetWindowThreadProcessId(window_, nullptr) == GetCurrentThreadId() &&
                    SetWindowSubclass(window_, &SubclassHook::procedure, subclassId(),
                                      reinterpret_cast<DWORD_PTR>(this));
    }
    ~SubclassHook() override {
        if (attached_) RemoveWindowSubclass(window_, &SubclassHook::procedure, subclassId());
    }
    SubclassHook(const SubclassHook&) = delete;
    SubclassHook& operator=(const SubclassHook&) = delete;

  private:
    UINT_PTR subclassId() const { return reinterpret_cast<UINT_PTR>(this); }

    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR data) {
        auto* self = reinterpret_cast<SubclassHook*>(data);
        if (message == WM_NCDESTROY) {
            RemoveWindowSubclass(hwnd, &SubclassHook::procedure, id);
            self->attached_ = false;
        } else if (message == self->message_) {
            self->report_(message);
        }
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }

    HWND window_;
    UINT message_;
    std::function<void(uint32_t)> report_;
    bool attached_ = false;
};
}  // namespace

WindowHandle Win32WindowSystem::findWindowByTitle(const std::string& title) {
    return toHandle(FindWindowA(nullptr, toAnsi(title).c_str()));
}

void Win32WindowSystem::setTopmost(WindowHandle window) {
    SetWindowPos(toHwnd(window), HWND_TOPMOST, 0, 0, 0, 0, kTopmostFlags);
}

WindowHandle Win32WindowSystem::setParent(WindowHandle child, WindowHandle parent) {
    return toHandle(SetParent(toHwnd(child), toHwnd(parent)));
}

bool Win32WindowSystem::isWindow(WindowHandle window) {
    return IsWindow(toHwnd(window)) != FALSE;
}

ClientRect Win32WindowSystem::clientRect(WindowHandle window) {
    RECT rect{};
    if (!GetClientRect(toHwnd(window), &rect)) return {};
    return {rect.left, rect.top, rect.right, rect.bottom};
}

std::unique_ptr<MessageHookHandle> Win32WindowSystem::hookMessage(
    WindowHandle window, uint32_t message, std::function<void(uint32_t message)> report) {
    return std::make_unique<SubclassHook>(toHwnd(window), message, std::move(report));
}

}  // namespace pictavo::platform::win32
