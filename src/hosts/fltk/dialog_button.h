#pragma once
// The buttons, check boxes and options of a layout. They change nothing
// themselves: a click goes to the dialog manager, which checks, chooses and
// focuses. Their access keys ("&About") are the dialog manager's too, so
// FLTK's own matching of such captions, which offers an unclaimed key to
// the buttons of every window, is turned off.
//
// The focus frame goes round the caption, as on Windows: the toolkit's own
// runs round the whole box, and options whose boxes overlap ("&3 Sec." and
// "&10 Sec.") would show it over their neighbour.

#include <FL/Enumerations.H>
#include <FL/Fl.H>
#include <FL/Fl_Button.H>

namespace pictavo::platform::fltk {

// Where the focus frame of a check box or option lies: round its caption.
// captionWidth and captionHeight are the caption's size in pixels.
struct CaptionFrame {
    int x, y, w, h;
};
CaptionFrame captionFrame(const Fl_Button& button, int captionWidth, int captionHeight);
// Draws the focus frame of a button: inside a push button's box, round
// the caption of a check box or option.
void drawButtonFocus(Fl_Button& button, bool pushButton);

template <class Base>
class DialogButton : public Base {
  public:
    DialogButton(int x, int y, int width, int height) : Base(x, y, width, height) {
        Base::type(FL_NORMAL_BUTTON);
    }
    int handle(int event) override { return event == FL_SHORTCUT ? 0 : Base::handle(event); }
    void draw() override {
        int shown = Fl::visible_focus();
        Fl::visible_focus(0);
        Base::draw();
        Fl::visible_focus(shown);
        if (shown != 0 && Fl::focus() == this && Base::visible_focus())
            drawButtonFocus(*this, pushButton_);
    }
    void setPushButton(bool push) { pushButton_ = push; }

  private:
    bool pushButton_ = true;
};

}  // namespace pictavo::platform::fltk
