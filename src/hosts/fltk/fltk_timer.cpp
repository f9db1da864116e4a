#include "hosts/fltk/fltk_timer.h"

#include <FL/Fl.H>

namespace pictavo::platform::fltk {

void FltkTimer::restart(int intervalMs, bool enabled) {
    stop();
    if (!enabled || intervalMs <= 0) return;
    seconds_ = intervalMs / 1000.0;
    running_ = true;
    Fl::add_timeout(seconds_, ticked, this);
}

void FltkTimer::stop() {
    if (running_) Fl::remove_timeout(ticked, this);
    running_ = false;
}

void FltkTimer::ticked(void* self) {
    auto* timer = static_cast<FltkTimer*>(self);
    // Rearmed before the tick runs: a tick may stop or restart the timer, or
    // run for longer than the interval (a transition), and the next one is
    // then due at once, as a window system's late timer message is.
    Fl::repeat_timeout(timer->seconds_, ticked, timer);
    timer->tick_();
}

}  // namespace pictavo::platform::fltk
