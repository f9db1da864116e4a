#pragma once
// The platform around an offline render: time that passes only on paper,
// a message loop with no messages, and a screen of a given size.

#include <cstdint>
#include <functional>
#include <utility>

#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/screen.h"

namespace pictavo::render {

// Sleeping moves the clock on at once, so a transition's nominal duration
// is measured without being waited for.
class PaperClock final : public platform::Clock {
  public:
    int64_t nowMicros() const override { return now_; }
    void sleepUntil(int64_t deadlineMicros) override {
        if (deadlineMicros > now_) now_ = deadlineMicros;
    }
    uint32_t seedFromWallClock() const override { return 0; }

  private:
    int64_t now_ = 0;
};

// No input ever comes; each dispatch is reported, which is where frames are
// taken. Waiting only moves the clock on.
class QuietEventLoop final : public platform::EventLoop {
  public:
    QuietEventLoop(platform::Clock& clock, std::function<void()> onDispatch)
        : clock_(clock), onDispatch_(std::move(onDispatch)) {}
    void doEvents() override {
        if (onDispatch_) onDispatch_();
    }
    void waitForEvents(int64_t deadlineMicros) override { clock_.sleepUntil(deadlineMicros); }
    void awaitWake(int64_t) override {}
    void wake() override {}
    void run() override {}
    void requestEnd() override { ended_ = true; }
    bool endRequested() const override { return ended_; }

  private:
    platform::Clock& clock_;
    std::function<void()> onDispatch_;
    bool ended_ = false;
};

class SizedScreen final : public platform::Screen {
  public:
    static constexpr double kTwipsPerPixel = 15;
    SizedScreen(int width, int height) : width_(width), height_(height) {}
    double twipsPerPixelX() const override { return kTwipsPerPixel; }
    double twipsPerPixelY() const override { return kTwipsPerPixel; }
    double widthTwips() const override { return kTwipsPerPixel * width_; }
    double heightTwips() const override { return kTwipsPerPixel * height_; }
    int64_t displayColours() const override { return 16777216; }

  private:
    int width_;
    int height_;
};

}  // namespace pictavo::render
