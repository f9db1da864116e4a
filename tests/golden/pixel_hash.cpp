#include "golden/pixel_hash.h"

#include <cstdio>

namespace pictavo::golden {

namespace {

constexpr uint64_t kOffsetBasis = 0xcbf29ce484222325ull;
constexpr uint64_t kPrime = 0x100000001b3ull;

class Fnv1a {
  public:
    void byte(uint8_t value) { hash_ = (hash_ ^ value) * kPrime; }
    void word(uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) byte(static_cast<uint8_t>(value >> shift));
    }
    uint64_t value() const { return hash_; }

  private:
    uint64_t hash_ = kOffsetBasis;
};

}  // namespace

uint64_t pixelHash(const imaging::Image& image) {
    Fnv1a fnv;
    fnv.word(static_cast<uint32_t>(image.width));
    fnv.word(static_cast<uint32_t>(image.height));
    for (imaging::Pixel p : image.pixels) {
        fnv.byte(imaging::red(p));
        fnv.byte(imaging::green(p));
        fnv.byte(imaging::blue(p));
        fnv.byte(static_cast<uint8_t>(p >> 24));
    }
    return fnv.value();
}

std::string hexHash(uint64_t hash) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

}  // namespace pictavo::golden
