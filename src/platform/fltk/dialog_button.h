#pragma once
// The buttons of a layout. Their access keys ("&About") are the form's to
// route, to its own enabled and visible controls only: FLTK's own matching
// of such captions offers an unclaimed key to the buttons of every window,
// also to those a modal dialog keeps out of reach.

#include <FL/Enumerations.H>

namespace pictavo::platform::fltk {

template <class Base>
class DialogButton : public Base {
  public:
    using Base::Base;
    int handle(int event) override { return event == FL_SHORTCUT ? 0 : Base::handle(event); }
};

}  // namespace pictavo::platform::fltk
