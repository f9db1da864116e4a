#pragma once
// The group code / value pairs a drawing exchange file is made of, read from
// either of its encodings: text lines ("  0", "LINE", " 10", "1.5", ...) or
// the binary form with its sentinel, little-endian codes and typed values.

#include <cstdint>
#include <span>
#include <string_view>

namespace pictavo::imaging::dxf {

struct Group {
    int code = -1;
    // The value as text. Binary numbers have none; read them with real().
    std::string_view text;
    double binaryNumber = 0;
    bool isBinaryNumber = false;

    double real() const;
    // Whole numbers; text with a fraction is truncated.
    int64_t integer() const;
    bool is(int wantedCode, std::string_view value) const {
        return code == wantedCode && text == value;
    }
};

class GroupReader {
  public:
    explicit GroupReader(std::span<const uint8_t> bytes);

    static bool isBinary(std::span<const uint8_t> bytes);

    // The next pair; false at the end of the file or where it stops making sense.
    bool next(Group& group);
    // True when reading stopped at something that is not a group.
    bool broken() const { return broken_; }

  private:
    bool nextText(Group& group);
    bool nextBinary(Group& group);
    std::string_view line();

    std::span<const uint8_t> bytes_;
    size_t position_ = 0;
    bool binary_ = false;
    bool wideCodes_ = false;
    bool broken_ = false;
};

}  // namespace pictavo::imaging::dxf
