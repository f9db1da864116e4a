#pragma once
// The program's own top-level windows: how many are open (the message loop
// ends when none is left) and who gets a first look at their messages
// (keyboard preview, dialog navigation with Tab, Enter and Esc).

#include <windows.h>

#include <map>
#include <vector>

namespace pictavo::platform::win32 {

class MessageFilter {
  public:
    virtual ~MessageFilter() = default;
    // True when the message was handled and must not be dispatched.
    virtual bool preTranslate(MSG& message) = 0;
};

class OpenWindows {
  public:
    void add(HWND window, MessageFilter& filter) { windows_[window] = &filter; }
    void remove(HWND window) { windows_.erase(window); }
    size_t count() const { return windows_.size(); }
    // The filter of the top-level window that message is for, or nullptr.
    MessageFilter* filterFor(const MSG& message) const;
    std::vector<HWND> all() const;

  private:
    std::map<HWND, MessageFilter*> windows_;
};

}  // namespace pictavo::platform::win32
