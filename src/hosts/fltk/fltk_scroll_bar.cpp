// The horizontal scroll bar: a tab stop like any other control, moved by
// the arrows (the small change), Page Up and Down (the large change), Home
// and End, with a dotted frame inside it while it has the focus.

#include <FL/Fl.H>
#include <FL/Fl_Scrollbar.H>
#include <FL/fl_draw.H>

// Xlib names an event type KeyPress; here it is the core's event.
#undef KeyPress

#include <algorithm>
#include <cmath>

#include "hosts/fltk/fltk_forms.h"
#include "hosts/fltk/fltk_roles.h"

namespace pictavo::platform::fltk {

namespace {

class FocusScrollbar : public Fl_Scrollbar {
  public:
    FocusScrollbar(int x, int y, int width, int height, int smallChange, int largeChange)
        : Fl_Scrollbar(x, y, width, height), small_(smallChange), large_(largeChange) {
        type(FL_HORIZONTAL);
    }

    int handle(int event) override {
        switch (event) {
            case FL_FOCUS:
            case FL_UNFOCUS:
                redraw();
                return 1;
            case FL_KEYBOARD:
                return keyMoves(Fl::event_key()) ? 1 : 0;
            case FL_PUSH:
                if (visible_focus()) Fl::focus(this);
                return Fl_Scrollbar::handle(event);
            default:
                return Fl_Scrollbar::handle(event);
        }
    }

    void draw() override {
        Fl_Scrollbar::draw();
        if (Fl::focus() != this || !visible_focus()) return;
        fl_color(fl_contrast(FL_BLACK, color()));
        fl_line_style(FL_DOT);
        fl_rect(x() + 2, y() + 2, w() - 4, h() - 4);
        fl_line_style(FL_SOLID);
    }

  private:
    bool keyMoves(int key) {
        double low = std::min(minimum(), maximum()), high = std::max(minimum(), maximum());
        double next = value();
        switch (key) {
            case FL_Left:
                next -= small_;
                break;
            case FL_Right:
                next += small_;
                break;
            case FL_Page_Up:
                next -= large_;
                break;
            case FL_Page_Down:
                next += large_;
                break;
            case FL_Home:
                next = low;
                break;
            case FL_End:
                next = high;
                break;
            default:
                return false;
        }
        next = std::clamp(next, low, high);
        if (static_cast<int>(next) != value()) {
            value(static_cast<int>(next));
            set_changed();
            do_callback();
        }
        return true;
    }

    int small_;
    int large_;
};

class ScrollBarRole : public FltkRole {
  public:
    ScrollBarRole(FltkForm& form, Control& control) : FltkRole(form, control) {
        const ControlSpec& design = control.design();
        auto* bar =
            new FocusScrollbar(0, 0, widthPixels(), heightPixels(), std::max(1, design.smallChange),
                               std::max(1, design.largeChange));
        bar->bounds(design.minimum, design.maximum);
        bar->step(1);
        bar->linesize(std::max(1, design.smallChange));
        // A page of the thumb's size moves by the large change.
        double range = std::abs(design.maximum - design.minimum);
        double large = std::max(1, design.largeChange);
        bar->slider_size(range > 0 ? large / (range + large) : 1.0);
        bar->when(FL_WHEN_CHANGED);
        bar->callback(changedCallback, this);
        adopt(bar);
    }
    bool windowed() const override { return true; }

  protected:
    void show(Properties changed) override {
        if (changed.has(Property::Value))
            static_cast<Fl_Scrollbar*>(widget_)->value(control_.value());
    }

  private:
    static void changedCallback(Fl_Widget* widget, void* self) {
        auto* role = static_cast<ScrollBarRole*>(self);
        widget->clear_changed();
        int value = static_cast<int>(std::lround(static_cast<Fl_Scrollbar*>(widget)->value()));
        role->form_.dialog().scrolled(role->control_, value);
    }
};

}  // namespace

std::unique_ptr<FltkRole> makeScrollBarRole(FltkForm& form, Control& control) {
    return std::make_unique<ScrollBarRole>(form, control);
}

}  // namespace pictavo::platform::fltk
