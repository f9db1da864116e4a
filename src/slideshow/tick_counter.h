#pragma once
// The tick counter of a one-second timer, kept as text the way the timer's
// tag holds it: the empty text counts as 0.

#include <cstdint>
#include <string>

namespace pictavo::slideshow {

class TickCounter {
  public:
    const std::string& text() const { return text_; }
    void setText(std::string text) { text_ = std::move(text); }

    // Counts one tick. Returns true when the count had reached interval: the
    // counter is emptied and the caller changes the picture.
    bool tick(int32_t interval);

  private:
    std::string text_;
};

}  // namespace pictavo::slideshow
