#pragma once
// The golden frames of a transition on the picture boxes of any host: staged
// and cut as the headless host's frames are, so that what a host draws can be
// compared with the committed hashes.

#include <cstdint>
#include <functional>
#include <string>

#include "imaging/image.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/surface.h"
#include "transitions/trace.h"

namespace pictavo::golden {

// Counts a transition's pauses and, when asked, cuts it short at one of them.
class PauseCounter final : public transitions::TraceSink {
  public:
    void copy(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override {}
    void stretch(int32_t, int32_t, int32_t, int32_t) override {}
    void delay(int32_t units) override;

    int pauses = 0;
    int stopAt = -1;
    int speed = 0;
    int64_t nominalNanos = 0;
};

// The key of an effect's frame ("final" or "middle") at a screen size.
std::string transitionKey(int effect, int width, int height, const char* frame);

// The staged slide: a picture whose every pixel tells where it came from.
imaging::Image stagedSlide(int width, int height);

// Runs the effect's own pattern at Speed 0 from picture1 (staged here) onto
// picture2 (a fresh old slide, both of picture2's size), from an unseeded
// generator; then again, cut short at its middle pause. After each run,
// shown(key, cut) is called with the golden key of the frame picture2 holds.
void playGoldenFrames(int effect, platform::Surface& picture1, platform::Surface& picture2,
                      platform::EventLoop& loop, platform::Clock& clock,
                      const std::function<void(const std::string& key, bool cut)>& shown);

}  // namespace pictavo::golden
