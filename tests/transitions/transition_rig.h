#pragma once
// A rig on the headless host that stages a picture, runs an effect and
// tells what it drew: the host's clock, message loop and screen, and its
// surfaces, whose presented frames the host counts.

#include <cstdint>
#include <vector>

#include "hosts/headless/headless_host.h"
#include "hosts/shared/memory_surface.h"
#include "imaging/image.h"
#include "state/saver_state.h"
#include "transitions/trace.h"
#include "transitions/transition_engine.h"

namespace pictavo::transitions::testing {

struct TraceEvent {
    enum Kind { Copy, Stretch, Delay } kind;
    int32_t x = 0, y = 0, w = 0, h = 0, sx = 0, sy = 0;  // a delay keeps its units in x

    bool operator==(const TraceEvent&) const = default;
};

inline TraceEvent copyEvent(int x, int y, int w, int h) {
    return {TraceEvent::Copy, x, y, w, h, x, y};
}
inline TraceEvent bandEvent(int x, int y, int w, int h, int sx, int sy) {
    return {TraceEvent::Copy, x, y, w, h, sx, sy};
}
inline TraceEvent drawAtEvent(int x, int y, int w, int h) {
    return {TraceEvent::Copy, x, y, w, h, 0, 0};
}
inline TraceEvent stretchEvent(int x, int y, int w, int h) {
    return {TraceEvent::Stretch, x, y, w, h, 0, 0};
}
inline TraceEvent delayEvent(int units) {
    return {TraceEvent::Delay, units};
}

class RecordingTrace final : public TraceSink {
  public:
    void copy(int32_t dx, int32_t dy, int32_t w, int32_t h, int32_t sx, int32_t sy) override {
        events.push_back({TraceEvent::Copy, dx, dy, w, h, sx, sy});
    }
    void stretch(int32_t dx, int32_t dy, int32_t w, int32_t h) override {
        events.push_back({TraceEvent::Stretch, dx, dy, w, h, 0, 0});
    }
    void delay(int32_t units) override { events.push_back({TraceEvent::Delay, units}); }

    std::vector<TraceEvent> events;
};

// A staged pixel that tells where it came from, and an old-slide pixel no
// staged pixel equals (its alpha is 0).
inline imaging::Pixel stagedPixel(int x, int y) {
    return 0xFF000000u | (static_cast<uint32_t>(x) << 12) | static_cast<uint32_t>(y);
}
inline constexpr imaging::Pixel kOldSlide = 0x00123456u;

class TransitionRig {
  public:
    TransitionRig(int width, int height) : TransitionRig(width, height, width, height) {}
    TransitionRig(int w1, int h1, int w2, int h2)
        : picture1(host.frames().surface(w1, h1)),
          picture2(host.frames().surface(w2, h2, kOldSlide)),
          engine(picture1, picture2, state, screen, loop, clock) {
        screen.setPixels(w2, h2);
        imaging::Image staged(w1, h1);
        for (int y = 0; y < h1; ++y)
            for (int x = 0; x < w1; ++x) staged.at(x, y) = stagedPixel(x, y);
        picture1.drawImage(staged, 0, 0);
        state.ImageWidth = static_cast<int16_t>(w1);
        state.ImageHeight = static_cast<int16_t>(h1);
        engine.setTrace(&trace);
    }

    // The effect's own pattern, without the closing copy.
    bool runEffect(int effect) { return engine.RunEffect(effect); }
    bool transition(int effect) { return engine.Transition(effect); }

    const std::vector<TraceEvent>& events() const { return trace.events; }
    int count(TraceEvent::Kind kind) const {
        int n = 0;
        for (const TraceEvent& e : trace.events) n += e.kind == kind ? 1 : 0;
        return n;
    }
    int copies() const { return count(TraceEvent::Copy); }
    int delays() const { return count(TraceEvent::Delay); }
    int stretches() const { return count(TraceEvent::Stretch); }
    // The drawing calls in order, without the pauses.
    std::vector<TraceEvent> draws() const {
        std::vector<TraceEvent> result;
        for (const TraceEvent& e : trace.events)
            if (e.kind != TraceEvent::Delay) result.push_back(e);
        return result;
    }

    imaging::Pixel shown(int x, int y) const { return picture2.image().at(x, y); }
    // Whether Picture2 shows the staged pixel of the same place.
    bool uncovered(int x, int y) const { return shown(x, y) != picture1.image().at(x, y); }
    bool showsStagedSlide() const { return picture2.image().pixels == picture1.image().pixels; }
    // The pixels of Picture2 that do not show the staged slide, as a count.
    int uncoveredPixels() const {
        int n = 0;
        for (int y = 0; y < picture2.height(); ++y)
            for (int x = 0; x < picture2.width(); ++x) n += uncovered(x, y) ? 1 : 0;
        return n;
    }
    // The pixels of Picture2 still showing the old slide.
    int oldSlidePixels() const {
        int n = 0;
        for (imaging::Pixel p : picture2.image().pixels) n += p == kOldSlide ? 1 : 0;
        return n;
    }
    // Every uncovered pixel lies inside the rectangle, and all of it is uncovered.
    bool uncoveredExactly(int x0, int y0, int x1, int y1) const {
        for (int y = 0; y < picture2.height(); ++y)
            for (int x = 0; x < picture2.width(); ++x) {
                bool inside = x >= x0 && x < x1 && y >= y0 && y < y1;
                if (uncovered(x, y) != inside) return false;
            }
        return true;
    }

    // The uncovered pixels are exactly those where inside(x, y) holds.
    template <typename Inside>
    bool uncoveredExactlyWhere(Inside inside) const {
        for (int y = 0; y < picture2.height(); ++y)
            for (int x = 0; x < picture2.width(); ++x)
                if (uncovered(x, y) != inside(x, y)) return false;
        return true;
    }

    platform::headless::HeadlessHost host;
    platform::headless::HeadlessScreen& screen = host.screen();
    platform::headless::FakeClock& clock = host.clock();
    platform::headless::HeadlessEventLoop& loop = host.eventLoop();
    platform::MemorySurface picture1;
    platform::MemorySurface picture2;
    SaverState state;
    RecordingTrace trace;
    TransitionEngine engine;
};

}  // namespace pictavo::transitions::testing
