// Labels, and the buttons, check boxes and options a click presses.

#include <FL/Fl_Box.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Round_Button.H>
#include <FL/fl_draw.H>

// Xlib names an event type KeyPress; here it is the core's event.
#undef KeyPress

#include <algorithm>

#include "hosts/fltk/dialog_button.h"
#include "hosts/fltk/fltk_forms.h"
#include "hosts/fltk/fltk_roles.h"
#include "hosts/fltk/fltk_style.h"
#include "hosts/fltk/graphic_widgets.h"

namespace pictavo::platform::fltk {

namespace {

Fl_Align labelAlign(Align align) {
    Fl_Align horizontal = align == Align::Right    ? FL_ALIGN_RIGHT
                          : align == Align::Centre ? 0
                                                   : FL_ALIGN_LEFT;
    return FL_ALIGN_INSIDE | FL_ALIGN_TOP | FL_ALIGN_WRAP | FL_ALIGN_CLIP | horizontal;
}

// A caption as it is drawn: "&" marks the access key, "&&" is an ampersand.
std::string shownCaption(const char* label) {
    std::string out;
    for (const char* p = label; p != nullptr && *p != 0; ++p) {
        if (*p == '&') {
            if (p[1] != '&') continue;
            ++p;
        }
        out += *p;
    }
    return out;
}

class LabelRole : public FltkRole {
  public:
    LabelRole(FltkForm& form, Control& control) : FltkRole(form, control) {
        adopt(new LabelBox(0, 0, widthPixels(), heightPixels()));
    }

  protected:
    void applyStyle() override {
        FltkRole::applyStyle();
        const ControlSpec& design = control_.design();
        widget_->box(design.transparent ? FL_NO_BOX : FL_FLAT_BOX);
        if (!design.backColour) widget_->color(fltkColour(form_.design().backColour));
        widget_->align(labelAlign(design.align));
    }
    void show(Properties changed) override {
        if (changed.has(Property::Caption)) {
            widget_->copy_label(widgetLabel(control_.caption()).c_str());
            redrawArea();
        }
    }
};

class ButtonRole : public FltkRole {
  public:
    ButtonRole(FltkForm& form, Control& control) : FltkRole(form, control) {
        Fl_Button* button = nullptr;
        switch (control.design().kind) {
            case ControlKind::CheckBox:
                button = withFrame(
                    new DialogButton<Fl_Check_Button>(0, 0, widthPixels(), heightPixels()));
                break;
            case ControlKind::OptionButton:
                button = withFrame(
                    new DialogButton<Fl_Round_Button>(0, 0, widthPixels(), heightPixels()));
                break;
            default:
                button = new DialogButton<Fl_Button>(0, 0, widthPixels(), heightPixels());
                break;
        }
        button->callback(clickedCallback, this);
        adopt(button);
    }
    bool windowed() const override { return true; }

  protected:
    // A caption wider in this toolkit's font than the layout allowed for
    // keeps its last letters, and room for the focus frame round it.
    void applyGeometry() override {
        FltkRole::applyGeometry();
        if (control_.design().kind == ControlKind::Button) return;
        auto* button = static_cast<Fl_Button*>(widget_);
        fl_font(button->labelfont(), button->labelsize());
        int width = 0, height = 0;
        fl_measure(shownCaption(button->label()).c_str(), width, height, 0);
        CaptionFrame frame = captionFrame(*button, width, height);
        int needed = frame.x - button->x() + width + 4 + Fl::box_dw(button->box());
        if (needed > button->w()) button->size(needed, button->h());
    }
    void show(Properties changed) override {
        auto* button = static_cast<Fl_Button*>(widget_);
        if (changed.has(Property::Caption)) {
            button->copy_label(widgetLabel(control_.caption()).c_str());
            if (control_.design().kind != ControlKind::Button) applyGeometry();
        }
        if (changed.has(Property::Value) && control_.design().kind != ControlKind::Button)
            button->value(control_.value() != 0 ? 1 : 0);
    }

  private:
    template <class Button>
    static Button* withFrame(Button* button) {
        button->setPushButton(false);
        return button;
    }
    static void clickedCallback(Fl_Widget*, void* self) {
        auto* role = static_cast<ButtonRole*>(self);
        role->form_.dialog().clicked(role->control_);
    }
};

}  // namespace

CaptionFrame captionFrame(const Fl_Button& button, int captionWidth, int captionHeight) {
    // Where Fl_Light_Button draws the caption: after the mark and a gap.
    int frame = Fl::box_dx(button.box());
    int left = frame + 2 + button.labelsize() + 2;
    int room = std::max(0, button.w() - left - frame);
    int width = std::min(captionWidth + 4, room);
    int height = std::min(captionHeight + 2, button.h());
    return {button.x() + left - 2, button.y() + (button.h() - height) / 2, width, height};
}

void drawButtonFocus(Fl_Button& button, bool pushButton) {
    int x = button.x(), y = button.y(), w = button.w(), h = button.h();
    if (pushButton) {
        Fl_Boxtype box = button.box();
        x += Fl::box_dx(box) + 1;
        y += Fl::box_dy(box) + 1;
        w -= Fl::box_dw(box) + 2;
        h -= Fl::box_dh(box) + 2;
    } else {
        fl_font(button.labelfont(), button.labelsize());
        int captionWidth = 0, captionHeight = 0;
        fl_measure(shownCaption(button.label()).c_str(), captionWidth, captionHeight, 0);
        CaptionFrame frame = captionFrame(button, captionWidth, captionHeight);
        x = frame.x;
        y = frame.y;
        w = frame.w;
        h = frame.h;
    }
    if (w <= 0 || h <= 0) return;
    fl_color(fl_contrast(FL_BLACK, button.color()));
    fl_line_style(FL_DOT);
    fl_rect(x, y, w, h);
    fl_line_style(FL_SOLID);
}

std::unique_ptr<FltkRole> makeLabelRole(FltkForm& form, Control& control) {
    return std::make_unique<LabelRole>(form, control);
}

std::unique_ptr<FltkRole> makeButtonRole(FltkForm& form, Control& control) {
    return std::make_unique<ButtonRole>(form, control);
}

}  // namespace pictavo::platform::fltk
