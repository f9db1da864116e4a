#pragma once
// The show's record, one line per event with the milliseconds since the
// show began first: "MS transition N", "MS slide I NAME", "MS text LINE",
// and, where asked for, "MS transition N done" when the effect has ended.
// pictavo-render show writes it in simulated time; the saver writes it on
// the real hosts (--trace, PICTAVO_TRACE) in wall-clock time.

#include <cstdint>
#include <ostream>
#include <string>

#include "platform/clock.h"
#include "slideshow/slide_window.h"
#include "slideshow/transition_runner.h"

namespace pictavo::slideshow {

class ShowTrace : public TransitionRunner, public SlideShowObserver {
  public:
    // Milliseconds count from originMicros of clock; out may be nullptr
    // (nothing written). markEnds adds the "done" lines.
    ShowTrace(const platform::Clock& clock, int64_t originMicros, TransitionRunner& engine,
              std::ostream* out, bool markEnds);

    void Transition(int16_t effect, platform::Surface& picture1,
                    platform::Surface& picture2) override;
    void picturePlaced(int index, const std::string& name) override;
    void linePrinted(const std::string& text) override;

    // False once a line could not be written.
    bool ok() const { return out_ == nullptr || static_cast<bool>(*out_); }

  private:
    std::ostream& line();

    const platform::Clock& clock_;
    int64_t originMicros_;
    TransitionRunner& engine_;
    std::ostream* out_;
    bool markEnds_;
    std::ostream discard_{nullptr};
};

}  // namespace pictavo::slideshow
