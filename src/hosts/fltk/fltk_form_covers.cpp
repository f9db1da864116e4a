// A form that covers the screen (the slide window) covers the primary
// monitor; the other monitors are covered black while it shows, and input
// there reaches the form as input on the picture in its middle, as on
// Windows.

#include <FL/Fl.H>
#include <FL/x.H>

// Xlib names an event type KeyPress; here it is the core's event.
#undef KeyPress

#include "hosts/fltk/fltk_forms.h"
#include "hosts/fltk/fltk_screen.h"
#include "hosts/fltk/native_window.h"
#include "hosts/fltk/picture_window.h"
#include "hosts/fltk/x11_display.h"

namespace pictavo::platform::fltk {

bool FltkForm::coversScreen() const {
    const FltkScreen& metrics = factory_.screen();
    const Fl_Window& window = topWindow();
    return window.x() <= metrics.originX() && window.y() <= metrics.originY() &&
           window.x() + window.w() >= metrics.originX() + metrics.widthPixels() &&
           window.y() + window.h() >= metrics.originY() + metrics.heightPixels();
}

void FltkForm::coverOtherMonitors() {
    if (covers_) return;
    covers_ = std::make_unique<MonitorCovers>(
        nativeHandle(topWindow()), factory_.screen().monitors(), factory_.cursor(),
        [this](CoverPointer what, int x, int y, int button) { coverInput(what, x, y, button); });
}

void FltkForm::coverInput(CoverPointer what, int rootX, int rootY, int button) {
    if (!loaded_ || blocked() || Fl::modal() != nullptr) return;
    PictureHit hit = pictureAt(topWindow().w() / 2, topWindow().h() / 2);
    if (hit.control == nullptr) return;
    const int frame = hit.window->frameWidth();
    if (what == CoverPointer::Click) {
        auto alive = aliveToken();
        for (EventType type : {EventType::MouseDown, EventType::MouseUp, EventType::Click}) {
            Event click{type, hit.control->name()};
            click.x = hit.window->w() / 2 - frame;
            click.y = hit.window->h() / 2 - frame;
            click.button = button;
            raise(click);
            if (!*alive || !loaded_) return;
        }
        return;
    }
    int x = 0, y = 0;
    ::Window child = 0;
    XTranslateCoordinates(display(), rootWindow(), nativeHandle(topWindow()), rootX, rootY, &x, &y,
                          &child);
    Event move{EventType::MouseMove, hit.control->name()};
    move.x = x - hit.left - frame;
    move.y = y - hit.top - frame;
    raise(move);
}

}  // namespace pictavo::platform::fltk
