#include "common/numbers.h"

#include <cctype>
#include <cstdlib>
#include <limits>
#include <string>

namespace pictavo {

double roundHalfEven(double value) {
    if (!std::isfinite(value)) return value;
    // nearbyint honours the current rounding mode, which is round-to-nearest-even
    // unless somebody changed it; do it by hand so nothing can change it.
    double whole = std::floor(value);
    double fraction = value - whole;
    if (fraction > 0.5) return whole + 1.0;
    if (fraction < 0.5) return whole;
    return std::fmod(whole, 2.0) == 0.0 ? whole : whole + 1.0;
}

namespace {
template <typename T>
std::optional<T> tryRoundInto(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    double rounded = roundHalfEven(value);
    if (rounded < static_cast<double>(std::numeric_limits<T>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<T>::max()))
        return std::nullopt;
    return static_cast<T>(rounded);
}

template <typename T>
T saturateInto(double value) {
    if (std::isnan(value)) return 0;
    double rounded = roundHalfEven(value);
    if (rounded <= static_cast<double>(std::numeric_limits<T>::min()))
        return std::numeric_limits<T>::min();
    if (rounded >= static_cast<double>(std::numeric_limits<T>::max()))
        return std::numeric_limits<T>::max();
    return static_cast<T>(rounded);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the longest prefix of text that reads as a number (sign, digits,
// point, exponent), or 0 when there is none.
size_t numberPrefixLength(std::string_view text) {
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        size_t expDigits = 0;
        while (j < text.size() && isDigit(text[j])) ++j, ++expDigits;
        if (expDigits > 0) i = j;
    }
    return i;
}

double toDouble(std::string_view number) {
    std::string copy(number);
    return std::strtod(copy.c_str(), nullptr);
}
}  // namespace

std::optional<int16_t> tryInt16(double value) {
    return tryRoundInto<int16_t>(value);
}
std::optional<int32_t> tryInt32(double value) {
    return tryRoundInto<int32_t>(value);
}
int16_t toInt16(double value) {
    return saturateInto<int16_t>(value);
}
int32_t toInt32(double value) {
    return saturateInto<int32_t>(value);
}

double parseLeadingNumber(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && isBlank(text[start])) ++start;
    text.remove_prefix(start);
    size_t length = numberPrefixLength(text);
    if (length == 0) return 0.0;
    double value = toDouble(text.substr(0, length));
    return std::isfinite(value) ? value : 0.0;
}

std::optional<double> parseDecimal(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    size_t length = numberPrefixLength(text);
    if (length == 0 || length != text.size()) return std::nullopt;
    double value = toDouble(text);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

long long CountedLoop::count() const {
    if (step_ == 0) return 0;
    if (step_ > 0) return first_ > last_ ? 0 : (last_ - first_) / step_ + 1;
    return first_ < last_ ? 0 : (first_ - last_) / (-step_) + 1;
}

}  // namespace pictavo
