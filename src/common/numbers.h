#pragma once
// The number rules every part of the saver relies on.
//
// A value stored into a 16- or 32-bit integer is rounded to the nearest
// whole number with halves going to the even neighbour (160.5 -> 160,
// 161.5 -> 162). Int(x) is the floor. A counted loop "for i = a to b step s"
// evaluates its bounds once and runs while i has not passed b.
// These decide where every pixel of every transition lands.

#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

namespace pictavo {

// Nearest whole number, halves to even. Works for any finite double.
double roundHalfEven(double value);

// Round-half-even into a signed integer of the given width; nullopt when the
// rounded value does not fit (or the input is not finite).
std::optional<int16_t> tryInt16(double value);
std::optional<int32_t> tryInt32(double value);

// Round-half-even, saturating at the type's limits. For geometry, where a
// value can only go out of range on absurd surfaces and clipping follows.
int16_t toInt16(double value);
int32_t toInt32(double value);

// Int(x): the greatest whole number not above x.
inline int32_t intFloor(double value) {
    return static_cast<int32_t>(std::floor(value));
}

// Reads a number the lenient way: leading blanks are skipped, then an
// optional sign and digits, with an optional decimal point and exponent,
// are taken as far as they go. A text with no number at its start is 0.
double parseLeadingNumber(std::string_view text);

// Reads a whole text as one decimal number: blanks around it are allowed,
// anything else makes it unreadable (nullopt).
std::optional<double> parseDecimal(std::string_view text);

// A counted loop "for i = first to last step step", bounds evaluated once.
// Usage: for (int i : countedLoop(0, n - 1)) ... ; step may be negative.
// A zero step would never end; it runs no iteration instead.
class CountedLoop {
  public:
    class Iterator {
      public:
        Iterator(long long value, long long last, long long step)
            : value_(value), last_(last), step_(step) {}
        int operator*() const { return static_cast<int>(value_); }
        Iterator& operator++() {
            value_ += step_;
            return *this;
        }
        bool operator!=(const Iterator&) const { return !passed(); }

      private:
        bool passed() const {
            return step_ > 0 ? value_ > last_ : step_ < 0 ? value_ < last_ : true;
        }
        long long value_;
        long long last_;
        long long step_;
    };

    CountedLoop(long long first, long long last, long long step)
        : first_(first), last_(last), step_(step) {}
    Iterator begin() const { return {first_, last_, step_}; }
    Iterator end() const { return {first_, last_, step_}; }
    // Number of iterations the loop will make.
    long long count() const;

  private:
    long long first_;
    long long last_;
    long long step_;
};

inline CountedLoop countedLoop(long long first, long long last, long long step = 1) {
    return CountedLoop(first, last, step);
}

}  // namespace pictavo
