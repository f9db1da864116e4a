#include "hosts/fltk/fltk_cursor.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

namespace pictavo::platform::fltk {

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

void FltkCursor::applyToAll() const {
    for (Fl_Window* window = Fl::first_window(); window != nullptr;
         window = Fl::next_window(window))
        applyTo(*window);
}

}  // namespace pictavo::platform::fltk
