#pragma once
// Little-endian reads from a byte span that never run past its end. A read
// beyond the end yields 0 and marks the reader failed, so a decoder reads a
// whole header and checks once.

#include <cstddef>
#include <cstdint>
#include <span>

namespace pictavo::imaging {

class ByteReader {
  public:
    explicit ByteReader(std::span<const uint8_t> bytes, size_t offset = 0)
        : bytes_(bytes), position_(offset), failed_(offset > bytes.size()) {}

    size_t position() const { return position_; }
    size_t size() const { return bytes_.size(); }
    size_t remaining() const { return position_ < bytes_.size() ? bytes_.size() - position_ : 0; }
    bool failed() const { return failed_; }
    bool atEnd() const { return remaining() == 0; }

    void seek(size_t offset) {
        position_ = offset;
        if (offset > bytes_.size()) failed_ = true;
    }
    void skip(size_t count) {
        if (count > remaining()) {
            failed_ = true;
            position_ = bytes_.size();
            return;
        }
        position_ += count;
    }

    uint8_t u8() {
        if (remaining() < 1) return fail();
        return bytes_[position_++];
    }
    uint16_t u16() {
        if (remaining() < 2) return fail();
        const uint16_t value =
            static_cast<uint16_t>(bytes_[position_] | (bytes_[position_ + 1] << 8));
        position_ += 2;
        return value;
    }
    uint32_t u32() {
        if (remaining() < 4) return fail();
        uint32_t value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | bytes_[position_ + static_cast<size_t>(i)];
        position_ += 4;
        return value;
    }
    int16_t i16() { return static_cast<int16_t>(u16()); }
    int32_t i32() { return static_cast<int32_t>(u32()); }

    // The next count bytes, or an empty span (and failure) when fewer remain.
    std::span<const uint8_t> take(size_t count) {
        if (count > remaining()) {
            failed_ = true;
            position_ = bytes_.size();
            return {};
        }
        auto part = bytes_.subspan(position_, count);
        position_ += count;
        return part;
    }

  private:
    uint8_t fail() {
        failed_ = true;
        position_ = bytes_.size();
        return 0;
    }

    std::span<const uint8_t> bytes_;
    size_t position_;
    bool failed_;
};

}  // namespace pictavo::imaging
