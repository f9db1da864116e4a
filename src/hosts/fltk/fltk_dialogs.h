#pragma once
// Modal message boxes, as small FLTK windows of their own: a title, an
// icon for the style, the text and OK.

#include "platform/dialogs.h"

class Fl_Window;

namespace pictavo::platform::fltk {

class FltkEventLoop;
class FltkScreen;

class FltkDialogs : public Dialogs {
  public:
    // The boxes open centred on screen's primary monitor.
    FltkDialogs(FltkEventLoop& loop, const FltkScreen& screen) : loop_(loop), screen_(screen) {}

    int messageBox(const std::string& text, const std::string& title, int style) override;

  private:
    void centre(Fl_Window& window) const;

    FltkEventLoop& loop_;
    const FltkScreen& screen_;
};

}  // namespace pictavo::platform::fltk
