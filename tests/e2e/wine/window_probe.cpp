// Looks at pictavo.scr's windows from inside Wine, as another program on the
// same desktop would: the end-to-end test's eyes and hands on the Windows side.
//
//   window_probe list          one line per top-level window of the saver's
//                              form class: "<visible 0|1><tab><caption>"
//   window_probe close TITLE   asks the window captioned TITLE to close
//                              (WM_CLOSE); exit code 1 when there is none

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string toUtf8(const std::wstring& wide) {
    if (wide.empty()) return {};
    int length = static_cast<int>(wide.size());
    int needed = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), needed, nullptr, nullptr);
    return utf8;
}

BOOL CALLBACK listForm(HWND window, LPARAM) {
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (std::wstring(className) != L"PictavoForm") return TRUE;
    wchar_t caption[256] = {};
    GetWindowTextW(window, caption, 256);
    std::printf("%d\t%s\n", IsWindowVisible(window) ? 1 : 0, toUtf8(caption).c_str());
    return TRUE;
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
    std::fprintf(stderr, "usage: window_probe list | close TITLE\n");
    return 2;
}
