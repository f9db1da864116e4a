#pragma once
// A top-level window built from a layout table. It knows no particular
// window: it creates the controls the table lists, converts native messages
// into the seam's events and hands them to the core's handler.

#include <map>
#include <memory>
#include <vector>

#include "platform/forms.h"
#include "platform/win32/base_window.h"
#include "platform/win32/dib_surface.h"
#include "platform/win32/gdi_objects.h"
#include "platform/win32/open_windows.h"
#include "platform/win32/other_monitors.h"
#include "platform/win32/twips_scale.h"
#include "platform/win32/win32_control.h"
#include "platform/win32/win32_event_loop.h"

namespace pictavo::platform::win32 {

inline constexpr const wchar_t* kFormClassName = L"PictavoForm";

class Win32Form : public Form,
                  public MessageFilter,
                  public ControlHost,
                  private BaseWindow<Win32Form> {
    friend class BaseWindow<Win32Form>;

  public:
    Win32Form(const FormSpec& design, FormHandler& handler, HWND owner, OpenWindows& windows,
              Win32EventLoop& loop, const TwipsScale& scale);
    ~Win32Form() override;

    // Form
    const FormSpec& design() const override { return spec_; }
    Control* find(std::string_view name) override;
    void show(bool modal) override;
    void hide() override;
    void unload() override;
    bool loaded() const override { return hwnd_ != nullptr; }
    std::string caption() const override;
    void setCaption(const std::string& caption) override;
    TwipsRect bounds() const override;
    void move(const TwipsRect& rect) override;
    TwipsRect clientSize() const override;
    WindowHandle handle() const override;
    void bringToFront() override;
    Surface* background() override { return background_.get(); }

    // MessageFilter
    bool preTranslate(MSG& message) override;

    // ControlHost
    HWND formWindow() const override { return hwnd_; }
    const TwipsScale& scale() const override { return scale_; }
    std::pair<HWND, POINT> placementFor(const std::string& containerName) const override;
    void optionChosen(const Win32Control& chosen) override;
    void beginProgrammaticChange() override { ++programmaticChanges_; }
    void endProgrammaticChange() override { --programmaticChanges_; }
    void raiseFrom(Event& event) override { raise(event); }
    LRESULT forwardToForm(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paintGraphics(HDC dc, const std::string& container) override;
    Colour backColourOf(const std::string& container) const override;

  private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void createWindow(HWND owner);
    void createBackground();
    void createControls();
    void paint();
    // The background and the graphical controls on it, as a paint shows them.
    void paintInto(HDC dc, const RECT& area);
    void reportPointerPosition();
    void stackInLayoutOrder();
    // False when no control can take the focus.
    bool moveFocusByTab(bool backwards);
    Win32Control* controlById(int id);
    Win32Control* controlByWindow(HWND window);
    HBRUSH brushFor(Colour colour);
    Event makeEvent(EventType type, const Win32Control* control = nullptr) const;
    void raise(Event& event);
    void raise(EventType type, const Win32Control* control = nullptr);

    void onCommand(int id, int code, HWND from);
    bool onKey(EventType type, WPARAM& key);
    void onMouse(EventType type, int button, WPARAM wParam, LPARAM lParam);
    LRESULT onControlColour(UINT message, WPARAM wParam, LPARAM lParam);
    // Paints what lies behind a transparent control into its device context.
    void paintBehind(const Win32Control& control, HDC dc);
    Win32Control* controlNamed(const std::string& name) const;
    void onDestroyed();

    FormSpec spec_;
    FormHandler& handler_;
    OpenWindows& windows_;
    Win32EventLoop& loop_;
    TwipsScale scale_;
    HWND owner_;
    std::vector<std::unique_ptr<Win32Control>> controls_;
    UniqueFont formFont_;
    std::vector<UniqueFont> controlFonts_;
    std::map<Colour, UniqueBrush> brushes_;
    std::unique_ptr<DibSurface> background_;
    std::unique_ptr<OtherMonitors> otherMonitors_;
    bool ready_ = false;  // the controls exist; events may be raised
    bool painting_ = false;
    int programmaticChanges_ = 0;
};

}  // namespace pictavo::platform::win32
