#pragma once
// The headless host's screen output. Every surface of the host (a form's
// background, a picture box, a surface made for drawing outside any window)
// presents here; the frames are counted and passed on to the sink a caller
// set, so a render can save each one and a test can hash it. Without a sink
// a present costs a count.

#include <cstdint>

#include "hosts/shared/frame_sink.h"
#include "hosts/shared/memory_surface.h"

namespace pictavo::platform::headless {

class HeadlessFrames final : public FrameSink {
  public:
    void framePresented(const MemorySurface& surface) override {
        ++presented_;
        if (sink_ != nullptr) sink_->framePresented(surface);
    }

    // nullptr stops passing frames on.
    void setSink(FrameSink* sink) { sink_ = sink; }
    // Frames presented on the host so far, with or without a sink.
    int64_t presented() const { return presented_; }

    // A surface of the host that belongs to no window; it presents here.
    MemorySurface surface(int width, int height, imaging::Pixel fill = imaging::rgb(0, 0, 0)) {
        MemorySurface made(width, height, fill);
        made.setFrameSink(this);
        return made;
    }

  private:
    FrameSink* sink_ = nullptr;
    int64_t presented_ = 0;
};

}  // namespace pictavo::platform::headless
