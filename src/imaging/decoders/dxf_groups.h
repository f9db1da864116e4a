#pragma once
// The group code / value pairs a drawing exchange file is made of, read from
// either of its encodings: text lines ("  0", "LINE", " 10", "1.5", ...) or
// the binary form with its sentinel, little-endian codes and typed values.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "imaging/byte_source.h"

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
    // A drawing in memory.
    explicit GroupReader(std::span<const uint8_t> bytes);
    // A drawing read from its file a piece at a time: a group's text is good
    // until the next group is read.
    explicit GroupReader(const ByteSource& file);

    static bool isBinary(std::span<const uint8_t> bytes);
    bool binary() const { return binary_; }
    uint64_t size() const { return size_; }

    // The next pair; false at the end of the file or where it stops making sense.
    bool next(Group& group);
    // True when reading stopped at something that is not a group.
    bool broken() const { return broken_; }

  private:
    void start();
    // Makes at least count bytes from the position on visible, reading more
    // of the file when they are not; fewer only at its end.
    size_t visible(size_t count);
    const uint8_t* here() const { return data_.data() + (position_ - dataStart_); }
    bool nextText(Group& group);
    bool nextBinary(Group& group);
    // The next count bytes, or nothing (and broken) when the file ends first.
    const uint8_t* take(size_t count);
    bool binaryCode(int& code);
    bool binaryValue(Group& group);
    // The bytes up to the next stop byte (which is passed over), or to the end.
    std::string_view upTo(char stop, bool& found);
    std::string_view line();

    const ByteSource* file_ = nullptr;
    uint64_t size_ = 0;
    std::vector<uint8_t> buffer_;
    std::span<const uint8_t> data_;  // the visible part of the drawing
    uint64_t dataStart_ = 0;         // where it starts in the drawing
    uint64_t position_ = 0;
    bool binary_ = false;
    bool wideCodes_ = false;
    bool broken_ = false;
};

}  // namespace pictavo::imaging::dxf
