#pragma once
// A picture file's bytes, read a piece at a time where they are wanted, so
// that a decoder that can work from pieces never holds the whole file: a
// 200 MB bitmap costs the memory of its picture, not of its picture and
// its file.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>

#include "common/result.h"

namespace pictavo::imaging {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual uint64_t size() const = 0;
    // Copies up to out.size() bytes from offset into out: how many (fewer
    // only at the end), or an error when the file cannot be read.
    virtual Result<size_t> read(uint64_t offset, std::span<uint8_t> out) const = 0;
};

// Bytes already in memory.
class MemorySource final : public ByteSource {
  public:
    explicit MemorySource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    uint64_t size() const override { return bytes_.size(); }
    Result<size_t> read(uint64_t offset, std::span<uint8_t> out) const override {
        if (offset >= bytes_.size()) return size_t{0};
        const auto count =
            static_cast<size_t>(std::min<uint64_t>(out.size(), bytes_.size() - offset));
        if (count > 0) std::memcpy(out.data(), bytes_.data() + offset, count);
        return count;
    }

  private:
    std::span<const uint8_t> bytes_;
};

// Part of another source: a page of a multi-page file, a preview inside a
// document.
class SourceWindow final : public ByteSource {
  public:
    SourceWindow(const ByteSource& whole, uint64_t offset, uint64_t length)
        : whole_(whole),
          offset_(std::min(offset, whole.size())),
          size_(std::min(length, whole.size() - offset_)) {}
    uint64_t size() const override { return size_; }
    Result<size_t> read(uint64_t offset, std::span<uint8_t> out) const override {
        if (offset >= size_) return size_t{0};
        const auto count = static_cast<size_t>(std::min<uint64_t>(out.size(), size_ - offset));
        return whole_.read(offset_ + offset, out.first(count));
    }

  private:
    const ByteSource& whole_;
    uint64_t offset_;
    uint64_t size_;
};

// Reads count bytes from offset, all of them or an error ("file is
// truncated" when the source ends first).
Result<void> readExactly(const ByteSource& source, uint64_t offset, std::span<uint8_t> out);

}  // namespace pictavo::imaging
