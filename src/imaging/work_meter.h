#pragma once
// How much work one picture may cost, and whether anyone still wants it.
//
// A decoder counts what it visits (rows, records, entities, array cells,
// glyphs, path points) against the meter of its request, and the memory it
// keeps beside the picture (objects, points, tables) before it takes it.
// The meter says stop when the picture has cost more than any picture
// worth showing, or when the caller has given up on it (the show is
// ending, or the picture is no longer the next one). Checking is cheap, so
// loops check often.

#include <atomic>
#include <cstdint>

#include "common/result.h"

namespace pictavo::imaging {

// Raised by whoever no longer wants a decode in progress; read from the
// decoding thread.
class CancelFlag {
  public:
    void cancel() { cancelled_.store(true, std::memory_order_relaxed); }
    void reset() { cancelled_.store(false, std::memory_order_relaxed); }
    bool cancelled() const { return cancelled_.load(std::memory_order_relaxed); }

  private:
    std::atomic<bool> cancelled_{false};
};

// About a second of work on a slow machine, counted in the units of the
// vector canvas: one unit is about one pixel painted.
inline constexpr int64_t kDefaultWorkUnits = int64_t{400} * 1000 * 1000;
// What a decoder may hold beside the picture and the file: with both, well
// within the memory of one slide.
inline constexpr int64_t kDefaultHeldBytes = int64_t{128} << 20;

class WorkMeter {
  public:
    explicit WorkMeter(const CancelFlag* cancel = nullptr, int64_t allowance = kDefaultWorkUnits,
                       int64_t heldAllowance = kDefaultHeldBytes)
        : cancel_(cancel), allowance_(allowance), heldAllowance_(heldAllowance) {}

    // Counts units of work. False once the allowance is spent or the
    // decode was cancelled: the caller stops and returns stopError().
    [[nodiscard]] bool spend(int64_t units = 1) {
        spent_ += units;
        return !stopped();
    }
    // Marks the allowance spent: the picture cannot be finished within it
    // (one fill that alone would need more than any picture, say).
    void exhaust() { spent_ = spent_ > allowance_ ? spent_ : allowance_ + 1; }
    bool exhausted() const { return spent_ > allowance_; }
    // Counts bytes about to be held until release(): false, and the
    // allowance spent, once more would be held than heldAllowance.
    [[nodiscard]] bool hold(int64_t bytes) {
        held_ += bytes;
        if (held_ > heldAllowance_) exhaust();
        return !stopped();
    }
    void release(int64_t bytes) { held_ -= bytes; }
    int64_t held() const { return held_; }
    bool cancelled() const { return cancel_ != nullptr && cancel_->cancelled(); }
    bool stopped() const { return exhausted() || cancelled(); }
    int64_t spent() const { return spent_; }

    // Why the work stopped: "decoding cancelled" or
    // "drawing too complex to render".
    Error stopError() const {
        return makeError(cancelled() ? "decoding cancelled" : "drawing too complex to render");
    }

  private:
    const CancelFlag* cancel_;
    int64_t allowance_;
    int64_t heldAllowance_;
    int64_t spent_ = 0;
    int64_t held_ = 0;
};

// Bytes held for as long as this lives; false when the meter refused them.
class HeldBytes {
  public:
    HeldBytes(WorkMeter& work, int64_t bytes)
        : work_(work), bytes_(bytes), held_(work.hold(bytes)) {}
    ~HeldBytes() { work_.release(bytes_); }
    HeldBytes(const HeldBytes&) = delete;
    HeldBytes& operator=(const HeldBytes&) = delete;
    explicit operator bool() const { return held_; }

  private:
    WorkMeter& work_;
    int64_t bytes_;
    bool held_;
};

}  // namespace pictavo::imaging
