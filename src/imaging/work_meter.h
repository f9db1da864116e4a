#pragma once
// How much work one picture may cost, and whether anyone still wants it.
//
// A decoder counts what it visits (rows, records, entities, array cells,
// glyphs, path points) against the meter of its request. The meter says
// stop when the picture has cost more than any picture worth showing, or
// when the caller has given up on it (the show is ending, or the picture
// is no longer the next one). Checking is cheap, so loops check often.

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

class WorkMeter {
  public:
    explicit WorkMeter(const CancelFlag* cancel = nullptr, int64_t allowance = kDefaultWorkUnits)
        : cancel_(cancel), allowance_(allowance) {}

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
    int64_t spent_ = 0;
};

}  // namespace pictavo::imaging
