#include "hosts/win32/open_windows.h"

namespace pictavo::platform::win32 {

MessageFilter* OpenWindows::filterFor(const MSG& message) const {
    if (message.hwnd == nullptr) return nullptr;
    auto found = windows_.find(GetAncestor(message.hwnd, GA_ROOT));
    return found == windows_.end() ? nullptr : found->second;
}

std::vector<HWND> OpenWindows::all() const {
    std::vector<HWND> windows;
    for (const auto& [window, filter] : windows_) windows.push_back(window);
    return windows;
}

}  // namespace pictavo::platform::win32
