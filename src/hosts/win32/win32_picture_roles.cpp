// Picture boxes (a window of our own showing the persistent DIB section the
// transitions draw on), the graphical controls their container paints
// (images, shapes, lines), and timers.

#include <windowsx.h>

#include <algorithm>

#include "dialogs/form_base.h"
#include "hosts/win32/dib_surface.h"
#include "hosts/win32/graphic_paint.h"
#include "hosts/win32/input_state.h"
#include "hosts/win32/picture_window.h"
#include "hosts/win32/resource_pictures.h"
#include "hosts/win32/win32_role.h"

namespace pictavo::platform::win32 {

namespace {

class PictureRole : public Win32Role, private PictureWindow::Owner {
  public:
    PictureRole(RoleHost& host, Control& control, int id) : Win32Role(host, control, id) {
        SIZE size = pictureSize();
        surface_ = std::make_unique<DibSurface>(size.cx, size.cy, backColour());
        surface_->setFrameGate(&host.frameGate());
        // A picture designed with the box.
        if (!control.design().resource.empty())
            surface_->drawImage(resourcePicture(control.design().resource), 0, 0);
        DWORD style = baseStyle() | WS_CLIPCHILDREN;
        if (control.design().border) style |= WS_BORDER;
        picture_ = std::make_unique<PictureWindow>(static_cast<PictureWindow::Owner&>(*this),
                                                   host.placementFor(control.design().parent).first,
                                                   id, style);
        // Transparent labels on the picture show its image: they repaint with it.
        surface_->setPresenter([this](const RECT& changed) {
            if (HWND own = window())
                RedrawWindow(own, &changed, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        });
        place();
    }

    HWND window() const override { return picture_ ? picture_->window() : nullptr; }
    Surface* surface() override { return surface_.get(); }
    DibSurface* dibSurface() override { return surface_.get(); }

  protected:
    void show(Properties changed) override {
        if (!changed.has(Property::Bounds)) return;
        SIZE size = pictureSize();
        surface_->resizeKeeping(size.cx, size.cy, backColour());
    }

  private:
    Colour backColour() const {
        return control_.design().backColour.value_or(host_.backColourOf(""));
    }
    SIZE pictureSize() const {
        const TwipsScale& scale = host_.scale();
        int frame = control_.design().border ? 2 : 0;
        return {std::max(scale.toPixelsX(control_.bounds().width) - frame, 0),
                std::max(scale.toPixelsY(control_.bounds().height) - frame, 0)};
    }

    // PictureWindow::Owner
    void paintPicture(HDC dc, const RECT& area) override {
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
               surface_->dc(), area.left, area.top, SRCCOPY);
        host_.paintGraphics(dc, control_.name());
    }
    void pictureMouse(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT childNotification(UINT message, WPARAM wParam, LPARAM lParam) override {
        return host_.forwardToForm(message, wParam, lParam);
    }

    std::unique_ptr<DibSurface> surface_;
    std::unique_ptr<PictureWindow> picture_;
    int pressedButtons_ = 0;
};

void PictureRole::pictureMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND own = window();
    Event event;
    event.control = control_.name();
    event.x = GET_X_LPARAM(lParam);  // picture boxes measure in pixels
    event.y = GET_Y_LPARAM(lParam);
    event.shift = shiftState();
    FormBase& form = host_.form();
    if (message == WM_MOUSEMOVE) {
        event.type = EventType::MouseMove;
        event.button = heldButtons(wParam);
        form.raise(event);
        return;
    }
    int button = buttonOf(message);
    event.button = button;
    if (isButtonDown(message)) {
        pressedButtons_ |= button;
        SetCapture(own);
        event.type = EventType::MouseDown;
        form.raise(event);
        return;
    }
    // A click is a press and a release over the box.
    RECT client{};
    GetClientRect(own, &client);
    POINT at{static_cast<LONG>(event.x), static_cast<LONG>(event.y)};
    bool clicked = (pressedButtons_ & button) != 0 && PtInRect(&client, at);
    pressedButtons_ &= ~button;
    if (pressedButtons_ == 0 && GetCapture() == own) ReleaseCapture();
    auto alive = form.aliveToken();
    event.type = EventType::MouseUp;
    form.raise(event);
    if (!clicked || !*alive) return;
    Event click = event;
    click.type = EventType::Click;
    form.raise(click);
}

class GraphicRole : public Win32Role {
  public:
    using Win32Role::Win32Role;
    bool graphical() const override { return true; }
    void paintGraphic(HDC dc, POINT origin) override {
        if (!control_.visible()) return;
        RECT area = areaInContainer();
        OffsetRect(&area, origin.x, origin.y);
        const ControlSpec& design = control_.design();
        switch (design.kind) {
            case ControlKind::Line:
                paintLine(dc, area, outline());
                break;
            case ControlKind::Shape:
                paintShape(dc, area, outline(), control_.fillStyle(), control_.fillColour());
                break;
            default:
                if (graphic_.empty() && !design.resource.empty())
                    graphic_ =
                        laidOn(resourcePicture(design.resource), host_.backColourOf(design.parent));
                paintImage(dc, area, graphic_, design.stretch);
        }
    }
    void update(Properties changed) override {
        if (changed.has(Property::Bounds)) repaint(previous_);
        previous_ = areaInContainer();
        repaint(previous_);
    }

  private:
    // A colour set from code outlines the shape in it.
    std::optional<Colour> outline() const {
        if (control_.foreColour() && control_.foreColour() != control_.design().foreColour)
            return control_.foreColour();
        return control_.design().borderColour;
    }
    void repaint(RECT area) {
        HWND container = host_.placementFor(control_.design().parent).first;
        if (container == nullptr) return;
        // A line's far end and the outline's last pixels lie on the edge.
        InflateRect(&area, 1, 1);
        InvalidateRect(container, &area, FALSE);
    }

    imaging::Image graphic_;  // an image control's picture, laid on its background
    RECT previous_{};
};

class TimerRole : public Win32Role {
  public:
    TimerRole(RoleHost& host, Control& control, int id) : Win32Role(host, control, id) {
        restart();
    }
    ~TimerRole() override {
        if (running_ && IsWindow(host_.formWindow())) KillTimer(host_.formWindow(), timerId());
    }
    void update(Properties changed) override {
        if (changed.has(Property::Enabled) || changed.has(Property::Interval)) restart();
    }
    void forgetWindow() override { running_ = false; }

  private:
    UINT_PTR timerId() const { return static_cast<UINT_PTR>(id_); }
    void restart() {
        HWND form = host_.formWindow();
        if (form == nullptr) return;
        if (control_.enabled() && control_.interval() > 0) {
            // Setting an existing timer again restarts its count from now.
            running_ =
                SetTimer(form, timerId(), static_cast<UINT>(control_.interval()), nullptr) != 0;
        } else if (running_) {
            KillTimer(form, timerId());
            running_ = false;
        }
    }

    bool running_ = false;
};

}  // namespace

std::unique_ptr<Win32Role> makePictureRole(RoleHost& host, Control& control, int id) {
    return std::make_unique<PictureRole>(host, control, id);
}

std::unique_ptr<Win32Role> makeGraphicRole(RoleHost& host, Control& control, int id) {
    return std::make_unique<GraphicRole>(host, control, id);
}

std::unique_ptr<Win32Role> makeTimerRole(RoleHost& host, Control& control, int id) {
    return std::make_unique<TimerRole>(host, control, id);
}

}  // namespace pictavo::platform::win32
