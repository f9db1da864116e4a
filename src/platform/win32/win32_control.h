#pragma once
// One control of a form, built from its layout row. The simple kinds become
// the system's standard controls (STATIC, BUTTON, EDIT, SCROLLBAR, LISTBOX,
// COMBOBOX); a picture box is a window of our own showing a DIB section; a
// timer is a window timer of the form. Images, shapes and lines have no
// window: the picture box or form they lie on draws them when it paints.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/forms.h"
#include "platform/stateful_control.h"
#include "platform/win32/dib_surface.h"
#include "platform/win32/picture_window.h"
#include "platform/win32/twips_scale.h"

namespace pictavo::platform::win32 {

class Win32Control;

// What a control needs from the form it lives on.
class ControlHost {
  public:
    virtual ~ControlHost() = default;
    virtual HWND formWindow() const = 0;
    virtual const TwipsScale& scale() const = 0;
    // The native window a control with this container lives in, and the
    // container's top-left corner within that window in pixels.
    virtual std::pair<HWND, POINT> placementFor(const std::string& containerName) const = 0;
    // An option button was set: the others of its group are cleared.
    virtual void optionChosen(const Win32Control& chosen) = 0;
    // Marks a change made by the program itself, which raises no event.
    virtual void beginProgrammaticChange() = 0;
    virtual void endProgrammaticChange() = 0;
    // Hands an event of a control to the form's handler.
    virtual void raiseFrom(Event& event) = 0;
    // A message of a control that lies inside a picture box, for the form.
    virtual LRESULT forwardToForm(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Draws the images, shapes and lines that lie in container ("" the form).
    virtual void paintGraphics(HDC dc, const std::string& container) = 0;
    // The colour controls in container are drawn on.
    virtual Colour backColourOf(const std::string& container) const = 0;
};

class Win32Control : public StatefulControl, private PictureWindow::Owner {
  public:
    Win32Control(const ControlSpec& design, ControlHost& host, int id);
    ~Win32Control() override;
    Win32Control(const Win32Control&) = delete;
    Win32Control& operator=(const Win32Control&) = delete;

    // Creates the native window (for the kinds that have one) with font.
    void create(HFONT font);
    int id() const { return id_; }
    // The native window; nullptr for the kinds without one, or once it is gone.
    HWND window() const;
    bool hasWindow() const { return window() != nullptr; }
    // The form's window is gone, and with it every child window and timer.
    void forgetWindow();
    // Images, shapes and lines: drawn by their container.
    bool isGraphical() const;
    // Draws an image, shape or line into dc, whose origin is the container's
    // top-left corner offset by origin.
    void paintGraphic(HDC dc, POINT origin);
    // A picture box's image; nullptr for other kinds.
    DibSurface* dibSurface() { return surface_.get(); }
    // The scroll bar's reaction to one of its WM_HSCROLL codes; true when the value changed.
    bool scroll(int code, int trackPosition);
    std::optional<Colour> foreColour() const { return state_.foreColour; }

    std::string caption() const override;
    void setCaption(const std::string& caption) override;
    std::string text() const override;
    void setText(const std::string& text) override;
    int value() const override;
    void setValue(int value) override;
    void setEnabled(bool enabled) override;
    void setVisible(bool visible) override;
    void move(const TwipsRect& rect) override;
    void setFocus() override;
    void setForeColour(Colour colour) override;
    void setInterval(int milliseconds) override;
    void setItems(const std::vector<std::string>& items) override;
    int selectedIndex() const override;
    void setSelectedIndex(int index) override;
    void setFillStyle(int style) override;
    void setFillColour(Colour colour) override;
    Surface* surface() override { return surface_.get(); }
    WindowHandle handle() const override;

    // Sets the check mark alone, for the clearing of an option group.
    void setCheck(bool checked);

  private:
    // PictureWindow::Owner
    void paintPicture(HDC dc, const RECT& area) override;
    void pictureMouse(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT childNotification(UINT message, WPARAM wParam, LPARAM lParam) override;

    bool isKind(ControlKind kind) const { return spec_.kind == kind; }
    bool showsCaption() const;
    void createPicture(DWORD style);
    Colour pictureBackColour() const;
    SIZE pictureSize() const;
    void placeWindow();
    // The control's rectangle in the window of its container, in pixels.
    RECT areaInContainer() const;
    void repaintGraphic();
    void updateTimer();
    void fillNativeList();
    std::string windowText() const;
    void setWindowText(const std::string& text);

    ControlHost& host_;
    int id_;
    HWND hwnd_ = nullptr;
    bool timerRunning_ = false;

    std::unique_ptr<DibSurface> surface_;
    std::unique_ptr<PictureWindow> picture_;
    imaging::Image graphic_;  // an image control's picture, laid on its background
    int pressedButtons_ = 0;
};

}  // namespace pictavo::platform::win32
