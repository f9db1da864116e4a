#pragma once
// While a full-screen form shows on the primary monitor, every other
// monitor is covered by a black topmost window. Input there counts as input
// on the form: keys go to the form, the pointer's moves go to the window at
// the form's centre (the slide show's picture) in that window's own
// coordinates, and a click anywhere on a cover is a click on that window.

#include <windows.h>

#include <memory>
#include <vector>

#include "hosts/win32/base_window.h"

namespace pictavo::platform::win32 {

class MonitorCover : private BaseWindow<MonitorCover> {
    friend class BaseWindow<MonitorCover>;

  public:
    MonitorCover(HWND form, const RECT& monitor);
    ~MonitorCover();
    MonitorCover(const MonitorCover&) = delete;
    MonitorCover& operator=(const MonitorCover&) = delete;

    HWND window() const { return hwnd(); }

  private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The window of the form that input on the cover is meant for, and its centre.
    HWND target(POINT& centre) const;
    void forwardMove(WPARAM wParam, LPARAM lParam);
    void forwardClick(UINT down, UINT up);

    HWND form_;
};

class OtherMonitors {
  public:
    // Covers every monitor except the primary one; none when there is one monitor.
    explicit OtherMonitors(HWND form);

    bool owns(HWND window) const;
    size_t count() const { return covers_.size(); }

  private:
    std::vector<std::unique_ptr<MonitorCover>> covers_;
};

// The rectangles of the monitors other than the primary one, in desktop coordinates.
std::vector<RECT> otherMonitorAreas();

}  // namespace pictavo::platform::win32
