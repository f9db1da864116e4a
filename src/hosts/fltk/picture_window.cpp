#include "hosts/fltk/picture_window.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>

namespace pictavo::platform::fltk {

namespace {
// Only changes drawn on the surface since the last paint: copy just those.
constexpr uchar kSurfaceDamage = FL_DAMAGE_USER1;

PixelRect unite(const PixelRect& a, const PixelRect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    int left = std::min(a.x, b.x), top = std::min(a.y, b.y);
    int right = std::max(a.x + a.width, b.x + b.width),
        bottom = std::max(a.y + a.height, b.y + b.height);
    return {left, top, right - left, bottom - top};
}
}  // namespace

PictureWindow::PictureWindow(int x, int y, int width, int height, FltkSurface& surface, bool border)
    : Fl_Window(x, y, width, height), surface_(&surface), border_(border) {
    resizable(nullptr);  // a panel's controls keep their places when it is resized
    box(FL_NO_BOX);
    surface_->setChangeListener([this](const PixelRect& rect) { surfaceChanged(rect); });
}

PictureWindow::~PictureWindow() {
    detach();
}

void PictureWindow::detach() {
    if (surface_ != nullptr) surface_->setChangeListener(nullptr);
    surface_ = nullptr;
    mouse_ = nullptr;
}

void PictureWindow::surfaceChanged(const PixelRect& rect) {
    if (!shown() || !visible_r()) return;
    dirty_ = unite(dirty_, rect);
    damage(kSurfaceDamage);
}

void PictureWindow::draw() {
    int inset = frameWidth();
    if (surface_ == nullptr) return;
    if (damage() == kSurfaceDamage && children() == 0) {
        // A transition step: copy what changed and nothing else.
        surface_->copyTo(fl_window, fl_gc, dirty_, dirty_.x + inset, dirty_.y + inset);
    } else {
        surface_->copyTo(fl_window, fl_gc, {0, 0, surface_->width(), surface_->height()}, inset,
                         inset);
        if (border_) fl_draw_box(FL_DOWN_FRAME, 0, 0, w(), h(), FL_GRAY);
        draw_children();
    }
    dirty_ = {};
}

int PictureWindow::mouseButton() const {
    switch (Fl::event_button()) {
        case FL_LEFT_MOUSE:
            return 1;
        case FL_RIGHT_MOUSE:
            return 2;
        case FL_MIDDLE_MOUSE:
            return 4;
        default:
            return 0;
    }
}

int PictureWindow::handle(int event) {
    bool mouseEvent = event == FL_ENTER || event == FL_MOVE || event == FL_DRAG ||
                      event == FL_PUSH || event == FL_RELEASE || event == FL_LEAVE;
    if (!mouseEvent || !mouse_) return Fl_Window::handle(event);
    // The controls of a panel come first.
    if (children() > 0) {
        int used = Fl_Window::handle(event);
        if (used != 0 && (event == FL_PUSH || event == FL_RELEASE || event == FL_DRAG)) return used;
    }
    if (event == FL_LEAVE) return 1;
    int x = Fl::event_x() - frameWidth(), y = Fl::event_y() - frameWidth();
    switch (event) {
        case FL_ENTER:
        case FL_MOVE:
        case FL_DRAG:
            mouse_(EventType::MouseMove, x, y, pressed_ ? mouseButton() : 0);
            return 1;
        case FL_PUSH:
            pressed_ = true;
            mouse_(EventType::MouseDown, x, y, mouseButton());
            return 1;
        case FL_RELEASE: {
            bool inside = Fl::event_inside(0, 0, w(), h()) != 0;
            pressed_ = false;
            int button = mouseButton();
            mouse_(EventType::MouseUp, x, y, button);
            if (inside) mouse_(EventType::Click, x, y, button);
            return 1;
        }
        default:
            return 1;
    }
}

}  // namespace pictavo::platform::fltk
