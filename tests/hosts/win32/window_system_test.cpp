// The window calls on real windows (Wine's null display driver: windows
// exist and take messages without a screen).

#include "hosts/win32/win32_window_system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hosts/win32/handles.h"
#include "hosts/win32/text_encoding.h"
#include "startup/system_queries.h"

namespace pictavo::platform::win32 {
namespace {

class TestWindow {
  public:
    explicit TestWindow(const std::wstring& title, HWND parent = nullptr,
                        DWORD style = WS_OVERLAPPEDWINDOW)
        : hwnd_(CreateWindowExW(0, L"STATIC", title.c_str(), parent != nullptr ? WS_CHILD : style,
                                0, 0, 200, 100, parent, nullptr, GetModuleHandleW(nullptr),
                                nullptr)) {}
    ~TestWindow() { destroy(); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    WindowHandle handle() const { return toHandle(hwnd_); }
    void destroy() {
        if (hwnd_ != nullptr) DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }

  private:
    HWND hwnd_;
};

std::string uniqueTitle(const char* base) {
    return std::string(base) + " " + std::to_string(GetCurrentProcessId());
}

TEST(NoWindowTitled, SeesAWindowOnlyWhileItExists) {
    Win32WindowSystem windows;
    const std::string title = uniqueTitle("Pictavo Test Window");
    EXPECT_TRUE(startup::NoWindowTitled(windows, title));
    {
        TestWindow window(toWide(title));
        ASSERT_NE(window.hwnd(), nullptr);
        EXPECT_FALSE(startup::NoWindowTitled(windows, title));
        EXPECT_EQ(windows.findWindowByTitle(title), window.handle());
        // The caption must match exactly, not by prefix.
        EXPECT_TRUE(startup::NoWindowTitled(windows, title.substr(0, title.size() - 1)));
    }
    EXPECT_TRUE(startup::NoWindowTitled(windows, title));
}

TEST(NoWindowTitled, FindsATitleInTheSystemsCodePage) {
    if (GetACP() != 1252)
        GTEST_SKIP() << "needs the Western European ANSI code page, this one is " << GetACP();
    Win32WindowSystem windows;
    const std::string title = uniqueTitle(
        "Pictavo Gr\xC3\xB6\xC3\x9F"
        "e");  // Größe
    TestWindow window(toWide(title));
    ASSERT_NE(window.hwnd(), nullptr);
    EXPECT_FALSE(startup::NoWindowTitled(windows, title));
}

TEST(WindowSystem, ParentingClientAreaAndExistence) {
    Win32WindowSystem windows;
    TestWindow parent(L"Pictavo Test Parent");
    TestWindow other(L"Pictavo Test Other");
    TestWindow child(L"", parent.hwnd());
    ASSERT_NE(child.hwnd(), nullptr);

    EXPECT_EQ(windows.setParent(child.handle(), other.handle()), parent.handle());
    EXPECT_EQ(GetParent(child.hwnd()), other.hwnd());

    ClientRect rect = windows.clientRect(child.handle());
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.right, 200);
    EXPECT_EQ(rect.bottom, 100);

    WindowHandle gone = other.handle();
    other.destroy();
    EXPECT_FALSE(windows.isWindow(gone));
    EXPECT_TRUE(windows.isWindow(parent.handle()));
    ClientRect none = windows.clientRect(gone);
    EXPECT_EQ(none.right, 0);
    EXPECT_EQ(none.bottom, 0);
}

TEST(WindowSystem, SetTopmostRaisesTheWindowAboveOrdinaryOnes) {
    Win32WindowSystem windows;
    TestWindow window(L"Pictavo Test Topmost");
    ASSERT_EQ(GetWindowLongW(window.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    windows.setTopmost(window.handle());
    EXPECT_NE(GetWindowLongW(window.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST(WindowSystem, MessageHookReportsOnlyItsMessageUntilReleased) {
    Win32WindowSystem windows;
    TestWindow window(L"Pictavo Test Hooked");
    std::vector<uint32_t> reported;
    auto hook = windows.hookMessage(window.handle(), WindowSystem::kWmClose,
                                    [&](uint32_t message) { reported.push_back(message); });
    SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
    SendMessageW(window.hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"renamed"));
    // The hook only watches: the window handled WM_CLOSE as usual (STATIC
    // windows destroy themselves on it).
    ASSERT_EQ(reported, std::vector<uint32_t>{WindowSystem::kWmClose});
    EXPECT_FALSE(IsWindow(window.hwnd()));
    hook.reset();  // releasing after the window is gone must be harmless
}

TEST(WindowSystem, MessageHookStopsWhenReleased) {
    Win32WindowSystem windows;
    TestWindow window(L"Pictavo Test Released");
    int reports = 0;
    auto hook = windows.hookMessage(window.handle(), WM_USER + 7, [&](uint32_t) { ++reports; });
    SendMessageW(window.hwnd(), WM_USER + 7, 0, 0);
    hook.reset();
    SendMessageW(window.hwnd(), WM_USER + 7, 0, 0);
    EXPECT_EQ(reports, 1);
}

}  // namespace
}  // namespace pictavo::platform::win32
