#pragma once
// The parameter words of one metafile record.

#include <cstddef>
#include <cstdint>
#include <span>

namespace pictavo::imaging::wmf {

// Words past the record's end read as 0, so a record cut short draws what
// it has instead of reading beyond it.
class Params {
  public:
    explicit Params(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    size_t words() const { return bytes_.size() / 2; }
    std::span<const uint8_t> bytes() const { return bytes_; }
    uint16_t u16(size_t word) const {
        const size_t at = word * 2;
        if (at + 1 >= bytes_.size()) return 0;
        return static_cast<uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
    }
    int16_t i16(size_t word) const { return static_cast<int16_t>(u16(word)); }
    uint32_t u32(size_t word) const { return u16(word) | (uint32_t{u16(word + 1)} << 16); }
    std::span<const uint8_t> from(size_t word) const {
        return word * 2 < bytes_.size() ? bytes_.subspan(word * 2) : std::span<const uint8_t>{};
    }

  private:
    std::span<const uint8_t> bytes_;
};

}  // namespace pictavo::imaging::wmf
