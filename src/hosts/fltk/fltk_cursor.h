#pragma once
// The cursor's display count, kept here as the system keeps it on Windows:
// below 0 the pointer is invisible over every window of the program.

#include "platform/cursor.h"

class Fl_Window;

namespace pictavo::platform::fltk {

class FltkCursor : public Cursor {
  public:
    int showCursor(bool show) override;

    // When another program owns the screen and the input (the saver drawing
    // into its window), the count is kept but the pointer is left alone.
    void setLeftAlone(bool leftAlone) { leftAlone_ = leftAlone; }
    bool hidden() const { return count_ < 0 && !leftAlone_; }
    // Gives a newly shown window the pointer the count says.
    void applyTo(Fl_Window& window) const;

  private:
    void applyToAll() const;

    int count_ = 0;
    bool leftAlone_ = false;
};

}  // namespace pictavo::platform::fltk
