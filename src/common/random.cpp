#include "common/random.h"

namespace pictavo {

float Random::next() {
    // A full-period 32-bit linear congruential step; the top 24 bits are the
    // best mixed and fit a float's mantissa exactly, so r < 1 always holds.
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<float>(state_ >> 8) * (1.0f / 16777216.0f);
}

void Random::seed(uint32_t seed) {
    // Mix the seed so that clock values a second apart start far apart.
    uint32_t x = seed ^ 0x9E3779B9u;
    x ^= x >> 16;
    x *= 0x85EBCA6Bu;
    x ^= x >> 13;
    state_ = x;
}

}  // namespace pictavo
