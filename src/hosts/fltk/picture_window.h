#pragma once
// A picture box: a child window of its own (so it has a handle that can be
// parented into another program's window) showing its persistent surface,
// with the controls a panel groups drawn over it. What the surface draws
// reaches the screen when the presenter shows the frame, not at each step.

#include <FL/Fl_Window.H>

#include <functional>

#include "hosts/fltk/fltk_surface.h"
#include "hosts/fltk/screen_presenter.h"
#include "platform/forms.h"

namespace pictavo::platform::fltk {

class PictureWindow : public Fl_Window {
  public:
    // Mouse events in pixels of the picture; type is MouseMove, MouseDown,
    // MouseUp or Click.
    using MouseListener = std::function<void(EventType type, int x, int y, int button)>;

    PictureWindow(int x, int y, int width, int height, FltkSurface& surface,
                  ScreenPresenter& presenter, bool border);
    ~PictureWindow() override;

    void setMouseListener(MouseListener listener) { mouse_ = std::move(listener); }
    // The control that owns the surface goes before FLTK deletes this window.
    void detach();
    // The surface's origin inside the window (inside the frame when bordered).
    int frameWidth() const { return border_ ? 2 : 0; }

    int handle(int event) override;
    void draw() override;

    // Puts what the surface drew since it was last shown; the pixels put.
    uint64_t presentChanges(ScreenPresenter& presenter);

  private:
    int mouseButton() const;

    FltkSurface* surface_;
    ScreenPresenter* presenter_;
    _XGC* gc_ = nullptr;
    bool border_;
    bool pressed_ = false;
    MouseListener mouse_;
};

}  // namespace pictavo::platform::fltk
