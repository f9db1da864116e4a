#pragma once
// The program's one uniform generator: single-precision values in [0, 1).
//
// Unseeded it always starts from the same state, so a preview started twice
// makes the same choices; only the full-screen start seeds it, from the clock.

#include <cstdint>

namespace pictavo {

class Random {
  public:
    static constexpr uint32_t kUnseededState = 0x50A3C1u;

    // The next value, 0 <= r < 1, with 24 bits of precision (exactly
    // representable in a float).
    float next();
    void seed(uint32_t seed);

    // A pick among n things: Int(n * r).
    int pick(int n) { return static_cast<int>(static_cast<float>(n) * next()); }

    uint32_t state() const { return state_; }

  private:
    uint32_t state_ = kUnseededState;
};

}  // namespace pictavo
