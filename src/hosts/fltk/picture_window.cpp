#include "hosts/fltk/picture_window.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>

namespace pictavo::platform::fltk {

PictureWindow::PictureWindow(int x, int y, int width, int height, FltkSurface& surface,
                             ScreenPresenter& presenter, bool border)
    : Fl_Window(x, y, width, height), surface_(&surface), presenter_(&presenter), border_(border) {
    resizable(nullptr);  // a panel's controls keep their places when it is resized
    box(FL_NO_BOX);
    presenter_->add(this);
    surface_->setChangeListener([this](const PixelRect&) {
        if (presenter_ != nullptr) presenter_->changesPending();
    });
}

PictureWindow::~PictureWindow() {
    detach();
    if (gc_ != nullptr) XFreeGC(fl_display, gc_);
}

void PictureWindow::detach() {
    if (surface_ != nullptr) surface_->setChangeListener(nullptr);
    if (presenter_ != nullptr) presenter_->remove(this);
    surface_ = nullptr;
    presenter_ = nullptr;
    mouse_ = nullptr;
}

uint64_t PictureWindow::presentChanges(ScreenPresenter& presenter) {
    if (surface_ == nullptr) return 0;
    PixelRect changes = surface_->takeChanges();
    // Hidden, the next expose paints it all from memory anyway.
    if (changes.empty() || !shown() || !visible_r()) return 0;
    if (children() > 0) {
        // A panel's controls lie over the picture: FLTK paints them all.
        damage(FL_DAMAGE_ALL);
        return 0;
    }
    if (gc_ == nullptr) {
        XGCValues values{};
        values.graphics_exposures = False;
        gc_ = XCreateGC(fl_display, fl_xid(this), GCGraphicsExposures, &values);
    }
    int inset = frameWidth();
    surface_->copyTo(presenter, fl_xid(this), gc_, changes, changes.x + inset, changes.y + inset);
    return changes.area();
}

void PictureWindow::draw() {
    int inset = frameWidth();
    if (surface_ == nullptr || presenter_ == nullptr) return;
    // Everything is painted: nothing is left to present.
    surface_->takeChanges();
    surface_->copyTo(*presenter_, fl_window, fl_gc, {0, 0, surface_->width(), surface_->height()},
                     inset, inset);
    if (border_) fl_draw_box(FL_DOWN_FRAME, 0, 0, w(), h(), FL_GRAY);
    draw_children();
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
