#pragma once
// Modal message boxes and the input box, as small FLTK windows of their
// own: a title, an icon for the style, the text, OK (and Cancel).

#include "platform/dialogs.h"

namespace pictavo::platform::fltk {

class FltkEventLoop;

class FltkDialogs : public Dialogs {
  public:
    explicit FltkDialogs(FltkEventLoop& loop) : loop_(loop) {}

    int messageBox(const std::string& text, const std::string& title, int style) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& initial) override;

  private:
    FltkEventLoop& loop_;
};

}  // namespace pictavo::platform::fltk
