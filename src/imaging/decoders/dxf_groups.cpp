#include "imaging/decoders/dxf_groups.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>

namespace pictavo::imaging::dxf {

namespace {

constexpr std::string_view kBinarySentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};

enum class ValueType { Text, Real, Int16, Int32, Int64, Bool, Chunk };

// The type of a group's value in the binary form, by its code.
ValueType typeOf(int code) {
    if ((code >= 10 && code <= 59) || (code >= 110 && code <= 149) ||
        (code >= 210 && code <= 239) || (code >= 460 && code <= 469) ||
        (code >= 1010 && code <= 1059)) {
        return ValueType::Real;
    }
    if ((code >= 60 && code <= 79) || (code >= 170 && code <= 179) ||
        (code >= 270 && code <= 289) || (code >= 370 && code <= 389) ||
        (code >= 400 && code <= 409) || (code >= 1060 && code <= 1070)) {
        return ValueType::Int16;
    }
    if ((code >= 90 && code <= 99) || (code >= 420 && code <= 429) ||
        (code >= 440 && code <= 459) || code == 1071) {
        return ValueType::Int32;
    }
    if (code >= 160 && code <= 169) return ValueType::Int64;
    if (code >= 290 && code <= 299) return ValueType::Bool;
    if ((code >= 310 && code <= 319) || code == 1004) return ValueType::Chunk;
    return ValueType::Text;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

// Plain decimals ("-12.5", "3", "0.000001") are most of a drawing's numbers:
// read them directly. Fifteen digits or fewer fit a double exactly, and one
// division by an exact power of ten rounds correctly. Anything else (an
// exponent, more digits) is left to the library.
std::optional<double> plainDecimal(std::string_view value) {
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    size_t i = 0;
    const bool negative = !value.empty() && (value[0] == '-' || value[0] == '+');
    if (negative) i = 1;
    const bool minus = negative && value[0] == '-';
    uint64_t digits = 0;
    int count = 0;
    int fraction = -1;
    for (; i < value.size(); ++i) {
        const char c = value[i];
        if (c >= '0' && c <= '9') {
            if (++count > 15) return std::nullopt;
            digits = digits * 10 + static_cast<uint64_t>(c - '0');
            if (fraction >= 0) ++fraction;
        } else if (c == '.' && fraction < 0) {
            fraction = 0;
        } else {
            return std::nullopt;
        }
    }
    if (count == 0) return std::nullopt;
    double number = static_cast<double>(digits);
    if (fraction > 0) number /= kPowers[fraction];
    return minus ? -number : number;
}

double Group::real() const {
    if (isBinaryNumber) return binaryNumber;
    const std::string_view value = trimmed(text);
    if (const auto quick = plainDecimal(value)) return *quick;
    double number = 0;
    const char* begin = value.data();
    if (!value.empty() && *begin == '+') ++begin;
    const auto result = std::from_chars(begin, value.data() + value.size(), number);
    if (result.ec != std::errc{} || !std::isfinite(number)) return 0;
    return number;
}

int64_t Group::integer() const {
    if (isBinaryNumber) {
        return std::isfinite(binaryNumber) && std::abs(binaryNumber) < 9e18
                   ? static_cast<int64_t>(binaryNumber)
                   : 0;
    }
    const std::string_view value = trimmed(text);
    int64_t number = 0;
    const char* begin = value.data();
    if (!value.empty() && *begin == '+') ++begin;
    const auto result = std::from_chars(begin, value.data() + value.size(), number);
    if (result.ec == std::errc{}) return number;
    // ".5e3": a whole number written as a real; none beyond 64 bits.
    const double written = real();
    return std::abs(written) < 9e18 ? static_cast<int64_t>(written) : 0;
}

GroupReader::GroupReader(std::span<const uint8_t> bytes) : size_(bytes.size()), data_(bytes) {
    start();
}

GroupReader::GroupReader(const ByteSource& file) : file_(&file), size_(file.size()) {
    start();
}

void GroupReader::start() {
    const size_t head = visible(kBinarySentinel.size() + 2);
    const std::span<const uint8_t> first(here(), head);
    if (isBinary(first)) {
        binary_ = true;
        position_ = kBinarySentinel.size();
        // Release 12 wrote one-byte codes, later releases two: the first
        // group is always code 0 ("SECTION"), so its second byte tells.
        const auto at = static_cast<size_t>(position_);
        wideCodes_ = head > at + 1 && first[at] == 0 && first[at + 1] == 0;
    } else if (head >= 3 && first[0] == 0xEF && first[1] == 0xBB && first[2] == 0xBF) {
        position_ = 3;  // a UTF-8 byte order mark
    }
}

size_t GroupReader::visible(size_t count) {
    const uint64_t end = dataStart_ + data_.size();
    const auto left = static_cast<size_t>(end - position_);
    if (left >= count || file_ == nullptr || end >= size_) return left;
    // Keep what is left from the position on, and read as much again.
    constexpr size_t kPiece = size_t{1} << 20;
    const size_t capacity = std::max(kPiece, count + kPiece / 2);
    std::vector<uint8_t> next(capacity);
    if (left > 0) std::memcpy(next.data(), here(), left);
    size_t filled = left;
    const size_t wanted = static_cast<size_t>(std::min<uint64_t>(capacity, size_ - position_));
    while (filled < wanted) {
        auto got = file_->read(position_ + filled,
                               std::span<uint8_t>(next).subspan(filled, wanted - filled));
        if (!got || *got == 0) {
            // Unreadable or shorter than it was: the drawing ends here.
            size_ = position_ + filled;
            break;
        }
        filled += *got;
    }
    buffer_ = std::move(next);
    data_ = std::span<const uint8_t>(buffer_.data(), filled);
    dataStart_ = position_;
    return filled;
}

bool GroupReader::isBinary(std::span<const uint8_t> bytes) {
    return bytes.size() >= kBinarySentinel.size() &&
           std::memcmp(bytes.data(), kBinarySentinel.data(), kBinarySentinel.size()) == 0;
}

bool GroupReader::next(Group& group) {
    if (broken_ || position_ >= size_) return false;
    return binary_ ? nextBinary(group) : nextText(group);
}

std::string_view GroupReader::upTo(char stop, bool& found) {
    size_t want = size_t{64} << 10;
    while (true) {
        const size_t left = visible(want);
        const auto* start = reinterpret_cast<const char*>(here());
        const void* at = std::memchr(start, stop, left);
        if (at != nullptr || position_ + left >= size_) {
            found = at != nullptr;
            const size_t length =
                at ? static_cast<size_t>(static_cast<const char*>(at) - start) : left;
            position_ += at ? length + 1 : length;
            return {start, length};
        }
        want = left * 2;  // a long line: look further
    }
}

std::string_view GroupReader::line() {
    bool found = false;
    std::string_view text = upTo('\n', found);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    return text;
}

bool GroupReader::nextText(Group& group) {
    const std::string_view codeLine = trimmed(line());
    if (position_ >= size_ && codeLine.empty()) return false;
    // Group codes are small whole numbers: read them without the library.
    int code = 0;
    bool valid = !codeLine.empty() && codeLine.size() <= 6;
    for (const char c : valid ? codeLine : std::string_view{}) {
        if (c < '0' || c > '9') {
            valid = false;
            break;
        }
        code = code * 10 + (c - '0');
    }
    if (!valid) {
        broken_ = true;
        return false;
    }
    group.code = code;
    group.text = line();
    group.isBinaryNumber = false;
    return true;
}

const uint8_t* GroupReader::take(size_t count) {
    if (visible(count) < count) {
        broken_ = true;
        position_ = size_;
        return nullptr;
    }
    const uint8_t* at = here();
    position_ += count;
    return at;
}

bool GroupReader::binaryCode(int& code) {
    if (wideCodes_) {
        const uint8_t* at = take(2);
        if (!at) return false;
        code = at[0] | (at[1] << 8);
        return true;
    }
    const uint8_t* at = take(1);
    if (!at) return false;
    code = at[0];
    if (code == 255) {
        const uint8_t* extended = take(2);
        if (!extended) return false;
        code = extended[0] | (extended[1] << 8);
    }
    return true;
}

bool GroupReader::nextBinary(Group& group) {
    int code = 0;
    if (!binaryCode(code)) return false;
    group.code = code;
    group.text = {};
    group.isBinaryNumber = true;
    return binaryValue(group);
}

bool GroupReader::binaryValue(Group& group) {
    auto little = [](const uint8_t* at, int bytes) {
        uint64_t value = 0;
        for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | at[i];
        return value;
    };
    switch (typeOf(group.code)) {
        case ValueType::Text: {
            bool ended = false;
            group.text = upTo('\0', ended);
            if (!ended) {
                broken_ = true;
                return false;
            }
            group.isBinaryNumber = false;
            return true;
        }
        case ValueType::Real: {
            const uint8_t* at = take(8);
            if (!at) return false;
            const uint64_t bits = little(at, 8);
            double value = 0;
            std::memcpy(&value, &bits, sizeof value);
            group.binaryNumber = std::isfinite(value) ? value : 0;
            return true;
        }
        case ValueType::Int16: {
            const uint8_t* at = take(2);
            if (!at) return false;
            group.binaryNumber = static_cast<int16_t>(little(at, 2));
            return true;
        }
        case ValueType::Int32: {
            const uint8_t* at = take(4);
            if (!at) return false;
            group.binaryNumber = static_cast<int32_t>(little(at, 4));
            return true;
        }
        case ValueType::Int64: {
            const uint8_t* at = take(8);
            if (!at) return false;
            group.binaryNumber = static_cast<double>(static_cast<int64_t>(little(at, 8)));
            return true;
        }
        case ValueType::Bool: {
            const uint8_t* at = take(1);
            if (!at) return false;
            group.binaryNumber = at[0];
            return true;
        }
        case ValueType::Chunk: {
            const uint8_t* length = take(1);
            if (!length || !take(*length)) return false;
            group.isBinaryNumber = false;
            return true;
        }
    }
    return false;
}

}  // namespace pictavo::imaging::dxf
