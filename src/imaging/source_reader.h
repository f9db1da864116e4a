#pragma once
// Reads a ByteSource front to back through a buffer, the way ByteReader
// reads bytes in memory: little-endian numbers and runs of bytes, zeros and
// a failed reader past the end (or where the file cannot be read). The
// buffer holds a piece of the file at a time, so a decoder reading row by
// row keeps no more of the file than a few rows.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "common/result.h"
#include "imaging/byte_source.h"

namespace pictavo::imaging {

class SourceReader {
  public:
    explicit SourceReader(const ByteSource& source, uint64_t offset = 0);

    uint64_t position() const { return position_; }
    uint64_t size() const { return source_.size(); }
    uint64_t remaining() const { return position_ < size() ? size() - position_ : 0; }
    bool failed() const { return failed_; }
    bool atEnd() const { return remaining() == 0; }
    // Why reading failed: "file is truncated", or why the file could not be read.
    Error failure() const;

    void seek(uint64_t offset) {
        position_ = offset;
        if (offset > size()) failed_ = true;
    }
    void skip(uint64_t count) {
        if (count > remaining()) {
            failed_ = true;
            position_ = size();
            return;
        }
        position_ += count;
    }

    uint8_t u8() {
        if (position_ >= bufferStart_ && position_ < bufferStart_ + filled_) {
            return buffer_[static_cast<size_t>(position_++ - bufferStart_)];
        }
        const auto bytes = take(1);
        return bytes.empty() ? 0 : bytes[0];
    }
    uint16_t u16() {
        const uint16_t low = u8();
        return static_cast<uint16_t>(low | (u8() << 8));
    }
    uint32_t u32() {
        const uint32_t low = u16();
        return low | (uint32_t{u16()} << 16);
    }
    // Big-endian words, as some formats store them.
    uint16_t u16be() {
        const uint16_t high = u8();
        return static_cast<uint16_t>((high << 8) | u8());
    }
    int16_t i16() { return static_cast<int16_t>(u16()); }
    int32_t i32() { return static_cast<int32_t>(u32()); }

    // The next count bytes, good until the next read; empty (and failure)
    // when fewer remain. The buffer grows to count if it must.
    std::span<const uint8_t> take(size_t count);

  private:
    bool fill(size_t count);

    const ByteSource& source_;
    uint64_t position_;
    std::vector<uint8_t> buffer_;
    uint64_t bufferStart_ = 0;
    size_t filled_ = 0;
    bool failed_ = false;
    std::optional<Error> readError_;
};

}  // namespace pictavo::imaging
