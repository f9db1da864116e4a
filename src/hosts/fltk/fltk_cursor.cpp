#include "hosts/fltk/fltk_cursor.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <algorithm>

#include "hosts/fltk/x11_display.h"

namespace pictavo::platform::fltk {

FltkCursor::~FltkCursor() {
    if (invisible_ != 0) XFreeCursor(display(), invisible_);
}

int FltkCursor::showCursor(bool show) {
    bool wasHidden = hidden();
    count_ += show ? 1 : -1;
    if (hidden() != wasHidden) applyToAll();
    return count_;
}

void FltkCursor::applyTo(Fl_Window& window) const {
    if (leftAlone_ || !window.shown()) return;
    window.cursor(hidden() ? FL_CURSOR_NONE : FL_CURSOR_DEFAULT);
}

void FltkCursor::track(XId window) {
    tracked_.push_back(window);
    applyToTracked(window);
}

void FltkCursor::untrack(XId window) {
    tracked_.erase(std::remove(tracked_.begin(), tracked_.end(), window), tracked_.end());
}

void FltkCursor::applyToTracked(XId window) {
    if (leftAlone_) return;
    Display* d = display();
    if (hidden() && invisible_ == 0) {
        const char nothing = 0;
        Pixmap blank = XCreateBitmapFromData(d, rootWindow(), &nothing, 1, 1);
        XColor black{};
        invisible_ = XCreatePixmapCursor(d, blank, blank, &black, &black, 0, 0);
        XFreePixmap(d, blank);
    }
    XErrorTrap trap;
    XDefineCursor(d, window, hidden() ? invisible_ : 0);
}

void FltkCursor::applyToAll() {
    for (Fl_Window* window = Fl::first_window(); window != nullptr;
         window = Fl::next_window(window))
        applyTo(*window);
    for (XId window : tracked_) applyToTracked(window);
}

}  // namespace pictavo::platform::fltk
