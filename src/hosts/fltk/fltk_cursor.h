#pragma once
// The cursor's display count, kept here as the system keeps it on Windows:
// below 0 the pointer is invisible over every window of the program.

#include <vector>

#include "hosts/fltk/x11_types.h"
#include "platform/cursor.h"

class Fl_Window;

namespace pictavo::platform::fltk {

class FltkCursor : public Cursor {
  public:
    ~FltkCursor() override;

    int showCursor(bool show) override;

    // When another program owns the screen and the input (the saver drawing
    // into its window), the count is kept but the pointer is left alone.
    void setLeftAlone(bool leftAlone) { leftAlone_ = leftAlone; }
    bool hidden() const { return count_ < 0 && !leftAlone_; }
    // Gives a newly shown window the pointer the count says.
    void applyTo(Fl_Window& window) const;
    // X windows of the program that FLTK does not know (the covers of the
    // other monitors) follow the count too, from now until untracked.
    void track(XId window);
    void untrack(XId window);

  private:
    void applyToAll();
    void applyToTracked(XId window);

    int count_ = 0;
    bool leftAlone_ = false;
    std::vector<XId> tracked_;
    XId invisible_ = 0;  // an X cursor with no pixel shown, made when first needed
};

}  // namespace pictavo::platform::fltk
