#pragma once
// Where a presented frame goes on the hosts that draw in memory: whoever
// wants every frame the show puts on screen (to hash it, to save it) sets
// one, as a display driver without a display may write out each frame.

namespace pictavo::platform {

class MemorySurface;

class FrameSink {
  public:
    virtual ~FrameSink() = default;
    // surface holds what the screen shows now; it is valid during the call only.
    virtual void framePresented(const MemorySurface& surface) = 0;
};

}  // namespace pictavo::platform
