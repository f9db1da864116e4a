#include "transitions/pacing.h"

#include <algorithm>

namespace pictavo::transitions {

int64_t nominalDelayNanos(int units, int speed) {
    // "For i = 1 To units: For j = 1 To 10 * Speed": no turn when a bound is below 1.
    int64_t iterations =
        int64_t{std::max(units, 0)} * kIterationsPerUnitAndSpeed * std::max(speed, 0);
    return iterations * kNominalIterationNanos;
}

Pacing::Pacing(platform::EventLoop& eventLoop, platform::Clock& clock, const SaverState& state,
               TraceSink* trace)
    : eventLoop_(eventLoop),
      clock_(clock),
      state_(state),
      trace_(trace),
      deadlineNanos_(clock.nowMicros() * 1000) {}

void Pacing::TransitionDelay(int16_t units) {
    if (trace_) trace_->delay(units);
    eventLoop_.doEvents();
    if (eventLoop_.endRequested()) throw TransitionAborted{};

    int64_t wait = nominalDelayNanos(units, state_.Speed);
    nominalNanos_ += wait;
    deadlineNanos_ += wait;
    int64_t now = clock_.nowMicros() * 1000;
    deadlineNanos_ = std::max(deadlineNanos_, now - kMaxLagNanos);
    const int64_t deadlineMicros = (deadlineNanos_ + 999) / 1000;
    // The steps drawn so far reach the screen at most once per display
    // frame, and before a sleep that lasts longer than a frame.
    eventLoop_.presentDrawing(platform::EventLoop::Present::IfFrameDue);
    int64_t nowMicros = clock_.nowMicros();
    // Too short a sleep for this host: the next pauses carry it until the
    // deadline is far enough ahead to be slept off in one go.
    if (deadlineMicros - nowMicros < eventLoop_.shortestSleepMicros()) return;
    for (; nowMicros < deadlineMicros; nowMicros = clock_.nowMicros()) {
        eventLoop_.waitForEvents(std::min(deadlineMicros, nowMicros + kLongestSliceMicros));
        if (eventLoop_.endRequested()) throw TransitionAborted{};
        eventLoop_.presentDrawing(platform::EventLoop::Present::IfFrameDue);
    }
}

}  // namespace pictavo::transitions
