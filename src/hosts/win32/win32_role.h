#pragma once
// The native side of a control on the Win32 host. Win32Role does what all
// share (a child window placed in its container, enabled, shown, focused);
// one small class per role adds the rest:
//
//   Label         StaticRole    STATIC with SS_NOTIFY
//   Button,
//   CheckBox,
//   OptionButton  ButtonRole    BUTTON that never checks itself: a click goes
//                               to the dialog manager
//   TextBox       EditRole      EDIT, with the password character and limit
//   HScrollBar    ScrollBarRole SCROLLBAR
//   DriveList     ComboRole     COMBOBOX, a drop-down list
//   DirList,
//   FileList      ListRole      LISTBOX, owner-drawn: rows indented as a tree
//   PictureBox    PictureRole   a window of our own showing a DIB section
//   Image, Shape,
//   Line          GraphicRole   no window: its container paints it
//   Timer         TimerRole     a window timer of the form

#include <windows.h>

#include <memory>
#include <string>
#include <utility>

#include "hosts/win32/frame_gate.h"
#include "hosts/win32/twips_scale.h"
#include "platform/control.h"
#include "platform/native_control.h"

namespace pictavo::platform {
class FormBase;
}

namespace pictavo::platform::win32 {

class DibSurface;

// What a role needs from the form it lives on.
class RoleHost {
  public:
    virtual ~RoleHost() = default;
    virtual FormBase& form() = 0;
    // Holds the picture boxes' presents to one per display frame.
    virtual FrameGate& frameGate() = 0;
    virtual HWND formWindow() const = 0;
    virtual const TwipsScale& scale() const = 0;
    // The native window a control with this container lives in, and the
    // container's top-left corner within that window in pixels.
    virtual std::pair<HWND, POINT> placementFor(const std::string& containerName) const = 0;
    // Marks a change made by the program itself, which the notifications
    // it causes do not report.
    virtual void beginProgrammaticChange() = 0;
    virtual void endProgrammaticChange() = 0;
    // A message of a control that lies inside a picture box, for the form.
    virtual LRESULT forwardToForm(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Draws the images, shapes and lines that lie in container ("" the form).
    virtual void paintGraphics(HDC dc, const std::string& container) = 0;
    // The colour controls in container are drawn on.
    virtual Colour backColourOf(const std::string& container) const = 0;
    // The font the control's layout asks for.
    virtual HFONT fontFor(const Control& control) = 0;
};

class Win32Role : public NativeControl {
  public:
    Win32Role(RoleHost& host, Control& control, int id) : host_(host), control_(control), id_(id) {}
    ~Win32Role() override;
    Win32Role(const Win32Role&) = delete;
    Win32Role& operator=(const Win32Role&) = delete;

    void update(Properties changed) override;
    void focus() override;
    WindowHandle handle() const override;

    int id() const { return id_; }
    // The native window; nullptr for the roles without one, or once it is gone.
    virtual HWND window() const { return hwnd_; }
    // The form's window is gone, and with it every child window and timer.
    virtual void forgetWindow() { hwnd_ = nullptr; }
    // A WM_COMMAND notification of the control.
    virtual void notified(int /*code*/) {}
    // A WM_HSCROLL of the control.
    virtual void scrolled(int /*code*/, int /*trackPosition*/) {}
    // A WM_DRAWITEM of an owner-drawn control; false when it is not one.
    virtual bool drawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
    // Images, shapes and lines: drawn by their container into dc, whose
    // origin is the container's top-left corner offset by origin.
    virtual bool graphical() const { return false; }
    virtual void paintGraphic(HDC /*dc*/, POINT /*origin*/) {}
    // A picture box's image; nullptr for other roles.
    virtual DibSurface* dibSurface() { return nullptr; }
    const Control& control() const { return control_; }

  protected:
    // Creates the standard control of this class and shows the control's state on it.
    void createStandard(const wchar_t* className, DWORD style, DWORD exStyle);
    // Common window styles: child, tab stop, visible, enabled.
    DWORD baseStyle() const;
    // What the role shows beyond the shared properties.
    virtual void show(Properties /*changed*/) {}
    virtual void place();
    // The control's rectangle in the window of its container, in pixels.
    RECT areaInContainer() const;
    std::string windowText() const;
    void setWindowText(const std::string& text);

    RoleHost& host_;
    Control& control_;
    int id_;
    HWND hwnd_ = nullptr;
};

// The role for a control, from the table of kinds.
std::unique_ptr<Win32Role> makeWin32Role(RoleHost& host, Control& control, int id);

std::unique_ptr<Win32Role> makeStaticRole(RoleHost& host, Control& control, int id);
std::unique_ptr<Win32Role> makeButtonRole(RoleHost& host, Control& control, int id);
std::unique_ptr<Win32Role> makeEditRole(RoleHost& host, Control& control, int id);
std::unique_ptr<Win32Role> makeScrollBarRole(RoleHost& host, Control& control, int id);
std::unique_ptr<Win32Role> makeComboRole(RoleHost& host, Control& control, int id);
std::unique_ptr<Win32Role> makeListRole(RoleHost& host, Control& control, int id);
std::unique_ptr<Win32Role> makePictureRole(RoleHost& host, Control& control, int id);
std::unique_ptr<Win32Role> makeGraphicRole(RoleHost& host, Control& control, int id);
std::unique_ptr<Win32Role> makeTimerRole(RoleHost& host, Control& control, int id);

}  // namespace pictavo::platform::win32
