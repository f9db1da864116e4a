#pragma once
// The window of a picture box. It shows the box's persistent image with the
// graphical controls placed on it, reports the mouse in pixels, and passes
// the notifications of the controls it holds on to the form, whose handler
// knows them. A picture box never closes itself: WM_CLOSE only reaches
// whoever watches the window.

#include <windows.h>

#include "hosts/win32/base_window.h"

namespace pictavo::platform::win32 {

inline constexpr const wchar_t* kPictureClassName = L"PictavoPicture";

class PictureWindow : private BaseWindow<PictureWindow> {
    friend class BaseWindow<PictureWindow>;

  public:
    class Owner {
      public:
        virtual ~Owner() = default;
        virtual void paintPicture(HDC dc, const RECT& area) = 0;
        virtual void pictureMouse(UINT message, WPARAM wParam, LPARAM lParam) = 0;
        // WM_COMMAND, scroll, colour and owner-draw messages of the controls inside.
        virtual LRESULT childNotification(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    };

    PictureWindow(Owner& owner, HWND parent, int id, DWORD style);
    ~PictureWindow();
    PictureWindow(const PictureWindow&) = delete;
    PictureWindow& operator=(const PictureWindow&) = delete;

    // nullptr once the window is gone (also when another program destroyed
    // the window it was placed in).
    HWND window() const { return hwnd(); }

  private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    Owner& owner_;
};

}  // namespace pictavo::platform::win32
