#include "slideshow/show_trace.h"

#include "common/text.h"

namespace pictavo::slideshow {

ShowTrace::ShowTrace(const platform::Clock& clock, int64_t originMicros, TransitionRunner& engine,
                     std::ostream* out, bool markEnds)
    : clock_(clock), originMicros_(originMicros), engine_(engine), out_(out), markEnds_(markEnds) {}

std::ostream& ShowTrace::line() {
    if (out_ == nullptr) return discard_;
    return *out_ << (clock_.nowMicros() - originMicros_) / 1000 << " ";
}

void ShowTrace::Transition(int16_t effect, platform::Surface& picture1,
                           platform::Surface& picture2) {
    line() << "transition " << effect << "\n";
    engine_.Transition(effect, picture1, picture2);
    // Flushed, so a show ended by a signal leaves its record whole up to here.
    if (markEnds_) line() << "transition " << effect << " done" << std::endl;
}

// One event a line: a name or text with a newline in it must not make two.
void ShowTrace::picturePlaced(int index, const std::string& name) {
    line() << "slide " << index << " " << escapeControlCharacters(name) << "\n";
}

void ShowTrace::linePrinted(const std::string& text) {
    line() << "text " << escapeControlCharacters(text) << "\n";
}

}  // namespace pictavo::slideshow
