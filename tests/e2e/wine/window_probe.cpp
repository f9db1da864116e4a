// Looks at pictavo.scr's windows from inside Wine, as another program on the
// same desktop would: the end-to-end test's eyes and hands on the Windows side.
//
//   window_probe list          one line per top-level window of the saver's
//                              form class: "<visible 0|1><tab><caption>"
//   window_probe close TITLE   asks the window captioned TITLE to close
//                              (WM_CLOSE); exit code 1 when there is none
//   window_probe client TITLE  "left top width height" of its client area
//                              on the screen, in pixels
//   window_probe outer TITLE   the same for the whole window
//   window_probe frame TITLE   "menu close" or "no menu, no close": whether
//                              its title bar has the window menu and close box
//   window_probe focus TITLE MS
//                              waits up to MS milliseconds for the window
//                              captioned TITLE to be the foreground window
//                              with a control of its own holding the focus;
//                              prints how long that took, exit code 1 when
//                              it did not happen
//   window_probe cursor        1 when the pointer is shown, 0 when hidden
//   window_probe monitors      "left top width height primary|other" per monitor
//   window_probe shortpath P   the short (8.3) form of path P
//   window_probe resources SCR what Windows reads from the program's
//                              resources: string 1, the description and
//                              version, the icon and the manifest's DPI settings
//   window_probe host SCR MS [close]
//                              plays the display settings' preview: makes a
//                              host window "Pictavo Preview Host" (client
//                              152 x 112 at 100, 100), starts SCR /p with its
//                              handle, reports the saver's child window, and
//                              after MS milliseconds destroys the host (or,
//                              with "close", asks the saver's child to close)
//                              and reports how long the saver took to end.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "hosts/win32/text_encoding.h"

namespace {

using pictavo::platform::win32::toUtf8;

constexpr const wchar_t* kHostTitle = L"Pictavo Preview Host";
constexpr int kHostLeft = 100;
constexpr int kHostTop = 100;
constexpr int kHostWidth = 152;
constexpr int kHostHeight = 112;
constexpr DWORD kEndLimitMs = 10000;

BOOL CALLBACK listForm(HWND window, LPARAM) {
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (std::wstring(className) != L"PictavoForm") return TRUE;
    wchar_t caption[256] = {};
    GetWindowTextW(window, caption, 256);
    std::printf("%d\t%s\n", IsWindowVisible(window) ? 1 : 0, toUtf8(caption).c_str());
    return TRUE;
}

int printFrame(const wchar_t* title) {
    HWND window = FindWindowW(nullptr, title);
    if (window == nullptr) return 1;
    bool menu = (GetWindowLongW(window, GWL_STYLE) & WS_SYSMENU) != 0;
    std::printf("%s\n", menu ? "menu close" : "no menu, no close");
    return 0;
}

int printArea(const wchar_t* title, bool clientOnly) {
    HWND window = FindWindowW(nullptr, title);
    if (window == nullptr) return 1;
    RECT area{};
    if (clientOnly) {
        GetClientRect(window, &area);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    } else {
        GetWindowRect(window, &area);
    }
    std::printf("%ld %ld %ld %ld\n", area.left, area.top, area.right - area.left,
                area.bottom - area.top);
    return 0;
}

bool holdsFocus(const wchar_t* title) {
    HWND foreground = GetForegroundWindow();
    if (foreground == nullptr || !IsWindowVisible(foreground) || !IsWindowEnabled(foreground))
        return false;
    wchar_t caption[256] = {};
    GetWindowTextW(foreground, caption, 256);
    if (std::wstring(caption) != title) return false;
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &thread)) return false;
    return thread.hwndFocus != nullptr &&
           (thread.hwndFocus == foreground || IsChild(foreground, thread.hwndFocus));
}

int waitForFocus(const wchar_t* title, DWORD limitMs) {
    DWORD started = GetTickCount();
    while (!holdsFocus(title)) {
        if (GetTickCount() - started >= limitMs) return 1;
        Sleep(20);
    }
    std::printf("%lu\n", GetTickCount() - started);
    return 0;
}

int printCursor() {
    CURSORINFO info{};
    info.cbSize = sizeof info;
    if (!GetCursorInfo(&info)) return 1;
    std::printf("%d\n", (info.flags & CURSOR_SHOWING) != 0 ? 1 : 0);
    return 0;
}

BOOL CALLBACK printMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    const RECT& area = info.rcMonitor;
    std::printf("%ld %ld %ld %ld %s\n", area.left, area.top, area.right - area.left,
                area.bottom - area.top,
                (info.dwFlags & MONITORINFOF_PRIMARY) != 0 ? "primary" : "other");
    return TRUE;
}

int printShortPath(const wchar_t* path) {
    wchar_t shortPath[MAX_PATH] = {};
    DWORD length = GetShortPathNameW(path, shortPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    std::printf("%s\n", toUtf8(shortPath).c_str());
    return 0;
}

std::wstring versionText(const std::vector<BYTE>& block, const wchar_t* name) {
    void* value = nullptr;
    UINT length = 0;
    std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || length == 0) return L"";
    return static_cast<const wchar_t*>(value);
}

std::string resourceText(HMODULE module, LPCWSTR name, LPCWSTR type) {
    HRSRC found = FindResourceW(module, name, type);
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const char* data = static_cast<const char*>(LockResource(loaded));
    return data != nullptr ? std::string(data, SizeofResource(module, found)) : std::string();
}

int printResources(const wchar_t* program) {
    HMODULE module =
        LoadLibraryExW(program, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) return 1;
    wchar_t text[256] = {};
    LoadStringW(module, 1, text, 256);
    std::printf("string 1: %s\n", toUtf8(text).c_str());
    bool icon = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14)) !=
                nullptr;  // RT_GROUP_ICON
    std::printf("icon: %s\n", icon ? "yes" : "no");
    std::string manifest = resourceText(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    std::printf(
        "dpi awareness: %s%s\n",
        manifest.find(">PerMonitorV2, PerMonitor<") != std::string::npos ? "PerMonitorV2 " : "",
        manifest.find(">true/pm<") != std::string::npos ? "true/pm" : "");
    FreeLibrary(module);

    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(program, &ignored);
    std::vector<BYTE> block(size);
    if (size == 0 || !GetFileVersionInfoW(program, 0, size, block.data())) return 1;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length);
    std::printf("description: %s\n", toUtf8(versionText(block, L"FileDescription")).c_str());
    if (fixed != nullptr)
        std::printf("version: %d.%d\n", HIWORD(fixed->dwFileVersionMS),
                    LOWORD(fixed->dwFileVersionMS));
    return 0;
}

// ---- the preview host ----

class PreviewHost {
  public:
    int run(const std::wstring& saver, DWORD waitMs, bool closeChild);

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    bool createHost();
    bool startSaver(const std::wstring& saver);
    void pumpFor(DWORD milliseconds);
    void reportChild();
    DWORD elapsed() const { return GetTickCount() - start_; }

    HWND host_ = nullptr;
    HWND child_ = nullptr;
    PROCESS_INFORMATION saver_{};
    DWORD start_ = GetTickCount();
};

bool PreviewHost::createHost() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &PreviewHost::procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    // Magenta shows wherever the saver's child does not cover the client area.
    windowClass.hbrBackground = CreateSolidBrush(RGB(255, 0, 255));
    windowClass.lpszClassName = L"PictavoPreviewHost";
    RegisterClassW(&windowClass);
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT outer{0, 0, kHostWidth, kHostHeight};
    AdjustWindowRect(&outer, style, FALSE);
    host_ = CreateWindowW(L"PictavoPreviewHost", kHostTitle, style, kHostLeft + outer.left,
                          kHostTop + outer.top, outer.right - outer.left, outer.bottom - outer.top,
                          nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (host_ == nullptr) return false;
    ShowWindow(host_, SW_SHOW);
    UpdateWindow(host_);
    return true;
}

bool PreviewHost::startSaver(const std::wstring& saver) {
    std::wstring commandLine =
        L"\"" + saver + L"\" /p " + std::to_wstring(reinterpret_cast<intptr_t>(host_));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(saver.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &saver_))
        return false;
    std::printf("%lu started\n", elapsed());
    std::fflush(stdout);
    return true;
}

void PreviewHost::reportChild() {
    HWND child = GetWindow(host_, GW_CHILD);
    if (child == nullptr || child == child_) return;
    child_ = child;
    DWORD process = 0;
    GetWindowThreadProcessId(child, &process);
    RECT area{}, hostArea{};
    GetWindowRect(child, &area);
    MapWindowPoints(nullptr, host_, reinterpret_cast<POINT*>(&area), 2);
    GetClientRect(host_, &hostArea);
    bool isChild = (GetWindowLongW(child, GWL_STYLE) & WS_CHILD) != 0;
    bool covers = EqualRect(&area, &hostArea) != FALSE;
    std::printf("%lu child %s %s %s %ldx%ld\n", elapsed(),
                process == saver_.dwProcessId ? "saver" : "other", isChild ? "ws_child" : "popup",
                covers ? "covers" : "partial", area.right - area.left, area.bottom - area.top);
    std::fflush(stdout);
}

void PreviewHost::pumpFor(DWORD milliseconds) {
    DWORD until = GetTickCount() + milliseconds;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (IsWindow(host_)) reportChild();
        DWORD now = GetTickCount();
        if (static_cast<LONG>(until - now) <= 0) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

int PreviewHost::run(const std::wstring& saver, DWORD waitMs, bool closeChild) {
    if (!createHost() || !startSaver(saver)) {
        std::printf("cannot start %s\n", toUtf8(saver).c_str());
        return 1;
    }
    pumpFor(waitMs);
    bool alive = WaitForSingleObject(saver_.hProcess, 0) == WAIT_TIMEOUT;
    std::printf("%lu %s\n", elapsed(), alive ? "alive" : "ended early");
    std::fflush(stdout);
    if (!alive) return 1;
    DWORD asked = GetTickCount();
    if (closeChild) {
        PostMessageW(child_, WM_CLOSE, 0, 0);
    } else {
        DestroyWindow(host_);
    }
    // The saver's own windows may still talk to ours while it ends.
    DWORD result = WAIT_TIMEOUT;
    while (result == WAIT_TIMEOUT && GetTickCount() - asked < kEndLimitMs) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        result = MsgWaitForMultipleObjects(1, &saver_.hProcess, FALSE, 50, QS_ALLINPUT);
        if (result != WAIT_OBJECT_0) result = WAIT_TIMEOUT;
    }
    if (result != WAIT_OBJECT_0) {
        std::printf("still running %lu ms after the %s\n", kEndLimitMs,
                    closeChild ? "close" : "destruction");
        TerminateProcess(saver_.hProcess, 1);
        return 1;
    }
    DWORD code = 0;
    GetExitCodeProcess(saver_.hProcess, &code);
    std::printf("ended %lu ms after the %s, code %lu\n", GetTickCount() - asked,
                closeChild ? "close" : "destruction", code);
    if (IsWindow(host_)) DestroyWindow(host_);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"list" && argc == 2) {
        EnumWindows(listForm, 0);
        return 0;
    }
    if (command == L"close" && argc == 3) {
        HWND window = FindWindowW(nullptr, argv[2]);
        if (window == nullptr) return 1;
        return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if ((command == L"client" || command == L"outer") && argc == 3)
        return printArea(argv[2], command == L"client");
    if (command == L"frame" && argc == 3) return printFrame(argv[2]);
    if (command == L"focus" && argc == 4)
        return waitForFocus(argv[2], static_cast<DWORD>(_wtoi(argv[3])));
    if (command == L"cursor" && argc == 2) return printCursor();
    if (command == L"monitors" && argc == 2)
        return EnumDisplayMonitors(nullptr, nullptr, printMonitor, 0) ? 0 : 1;
    if (command == L"shortpath" && argc == 3) return printShortPath(argv[2]);
    if (command == L"resources" && argc == 3) return printResources(argv[2]);
    if (command == L"host" && (argc == 4 || (argc == 5 && std::wstring(argv[4]) == L"close"))) {
        PreviewHost host;
        return host.run(argv[2], static_cast<DWORD>(_wtoi(argv[3])), argc == 5);
    }
    std::fprintf(stderr,
                 "usage: window_probe list | close TITLE | client TITLE | outer TITLE |"
                 " focus TITLE MS | cursor | monitors |"
                 " shortpath PATH | resources SCR | host SCR MS [close]\n");
    return 2;
}
