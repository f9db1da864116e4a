#pragma once
// A record of what a transition drew: one entry per drawing call and per
// pause, with the whole numbers the call was given (after rounding, before
// clipping). Effects like SmearUp make tens of thousands of calls, so sinks
// stream; the engine never holds the record.

#include <cstdint>
#include <ostream>

namespace pictavo::transitions {

class TraceSink {
  public:
    virtual ~TraceSink() = default;
    // copy, copy band and draw at: the w x h rectangle at (sx, sy) of
    // Picture1 to (dx, dy) of Picture2.
    virtual void copy(int32_t dx, int32_t dy, int32_t w, int32_t h, int32_t sx, int32_t sy) = 0;
    // stretch-draw of the image into the w x h rectangle at (dx, dy).
    virtual void stretch(int32_t dx, int32_t dy, int32_t w, int32_t h) = 0;
    // TransitionDelay(units).
    virtual void delay(int32_t units) = 0;
};

// Writes the record as text lines: "copy DX DY W H SX SY",
// "stretch DX DY W H", "delay UNITS".
class StreamTrace final : public TraceSink {
  public:
    explicit StreamTrace(std::ostream& out) : out_(out) {}

    void copy(int32_t dx, int32_t dy, int32_t w, int32_t h, int32_t sx, int32_t sy) override;
    void stretch(int32_t dx, int32_t dy, int32_t w, int32_t h) override;
    void delay(int32_t units) override;

  private:
    void writeLine(const char* word, const int32_t* values, int count);

    std::ostream& out_;
};

}  // namespace pictavo::transitions
