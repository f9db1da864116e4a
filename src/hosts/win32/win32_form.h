#pragma once
// A top-level window built from a layout table. It knows no particular
// window: it gives each control its role, routes the keyboard to the form's
// dialog manager from the message loop (before any control sees a key),
// hands the controls' notifications to their roles and the rest of the
// native messages to the core's handler as events.

#include <map>
#include <memory>
#include <vector>

#include "dialogs/form_base.h"
#include "hosts/win32/base_window.h"
#include "hosts/win32/dib_surface.h"
#include "hosts/win32/gdi_objects.h"
#include "hosts/win32/open_windows.h"
#include "hosts/win32/other_monitors.h"
#include "hosts/win32/twips_scale.h"
#include "hosts/win32/win32_event_loop.h"
#include "hosts/win32/win32_role.h"

namespace pictavo::platform::win32 {

inline constexpr const wchar_t* kFormClassName = L"PictavoForm";

class Win32Form : public FormBase,
                  public MessageFilter,
                  private RoleHost,
                  private BaseWindow<Win32Form> {
    friend class BaseWindow<Win32Form>;

  public:
    Win32Form(const FormSpec& design, FormHandler& handler, OpenForms& openForms, Win32Form* owner,
              OpenWindows& windows, Win32EventLoop& loop, const TwipsScale& scale);
    ~Win32Form() override;

    // Form
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

    // MessageFilter: the keys of the form's controls, before they see them.
    bool preTranslate(MSG& message) override;

  protected:
    bool takesEvents() const override { return ready_ && loaded(); }

  private:
    // RoleHost
    FormBase& form() override { return *this; }
    FrameGate& frameGate() override { return loop_.frameGate(); }
    HWND formWindow() const override { return hwnd_; }
    const TwipsScale& scale() const override { return scale_; }
    std::pair<HWND, POINT> placementFor(const std::string& containerName) const override;
    void beginProgrammaticChange() override { ++programmaticChanges_; }
    void endProgrammaticChange() override { --programmaticChanges_; }
    LRESULT forwardToForm(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paintGraphics(HDC dc, const std::string& container) override;
    Colour backColourOf(const std::string& container) const override;
    HFONT fontFor(const Control& control) override;

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void createWindow(HWND owner);
    void createBackground();
    void paint();
    // The background and the graphical controls on it, as a paint shows them.
    void paintInto(HDC dc, const RECT& area);
    void reportPointerPosition();
    void stackInLayoutOrder();
    Win32Role* roleOf(const Control& control) const;
    Win32Role* roleById(int id) const;
    Win32Role* roleByWindow(HWND window) const;
    HBRUSH brushFor(Colour colour);
    // A keyboard message for the dialog manager; true when it took it.
    bool routeKey(UINT message, WPARAM& key, LPARAM lParam);
    void noteFocus();
    void onMouse(EventType type, int button, WPARAM wParam, LPARAM lParam);
    LRESULT onControlColour(UINT message, WPARAM wParam, LPARAM lParam);
    // Paints what lies behind a transparent control into its device context.
    void paintBehind(const Win32Role& role, HDC dc);
    void onDestroyed();

    OpenWindows& windows_;
    Win32EventLoop& loop_;
    TwipsScale scale_;
    HWND owner_;
    UniqueFont formFont_;
    std::map<std::string, UniqueFont> controlFonts_;
    std::map<Colour, UniqueBrush> brushes_;
    std::unique_ptr<DibSurface> background_;
    std::unique_ptr<OtherMonitors> otherMonitors_;
    bool ready_ = false;  // the controls exist; events may be raised
    bool painting_ = false;
    int programmaticChanges_ = 0;
};

}  // namespace pictavo::platform::win32
