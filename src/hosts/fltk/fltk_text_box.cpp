// Text boxes: FLTK's input edits the text itself (and composes what an
// input method sends); each change goes to the dialog manager.

#include <FL/Fl_Input.H>

#include "hosts/fltk/fltk_forms.h"
#include "hosts/fltk/fltk_roles.h"
#include "hosts/fltk/fltk_screen.h"
#include "hosts/fltk/fltk_style.h"
#include "hosts/fltk/password_input.h"

namespace pictavo::platform::fltk {

namespace {

class TextBoxRole : public FltkRole {
  public:
    TextBoxRole(FltkForm& form, Control& control) : FltkRole(form, control) {
        const ControlSpec& design = control.design();
        Fl_Input* input =
            design.passwordChar != 0
                ? new PasswordInput(0, 0, widthPixels(), heightPixels(), design.passwordChar)
                : new Fl_Input(0, 0, widthPixels(), heightPixels());
        if (design.maxLength > 0) input->maximum_size(design.maxLength);
        input->when(FL_WHEN_CHANGED);
        input->callback(changedCallback, this);
        adopt(input);
    }
    bool windowed() const override { return true; }

  protected:
    void applyStyle() override {
        FltkRole::applyStyle();
        auto* input = static_cast<Fl_Input*>(widget_);
        FltkFont font =
            fltkFont(control_.design().font.value_or(form_.font()), form_.screen().dotsPerInch());
        input->textfont(font.face);
        input->textsize(font.pixels);
        input->textcolor(fltkColour(foreground()));
        if (!control_.design().backColour) input->color(FL_WHITE);
    }
    void show(Properties changed) override {
        if (changed.has(Property::Text))
            static_cast<Fl_Input*>(widget_)->value(control_.text().c_str());
    }

  private:
    static void changedCallback(Fl_Widget* widget, void* self) {
        auto* role = static_cast<TextBoxRole*>(self);
        widget->clear_changed();
        role->form_.dialog().typed(role->control_, static_cast<Fl_Input*>(widget)->value());
    }
};

}  // namespace

std::unique_ptr<FltkRole> makeTextBoxRole(FltkForm& form, Control& control) {
    return std::make_unique<TextBoxRole>(form, control);
}

}  // namespace pictavo::platform::fltk
