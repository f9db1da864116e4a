#pragma once
// Which of 65,535 table slots are free, and the lowest of them in a few
// steps however full the table is: a metafile's objects take the lowest free
// index, and a file of a million object records must not scan the table a
// million times.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace pictavo::imaging {

class LowestFreeSlots {
  public:
    static constexpr size_t kSlots = 65535;

    LowestFreeSlots() {
        words_.fill(~uint64_t{0});
        summary_.fill(~uint64_t{0});
        // 65,536 bits hold the slots; the last one is no slot.
        words_.back() &= ~(uint64_t{1} << 63);
    }

    // Takes the lowest free slot; nothing when every slot is taken.
    std::optional<size_t> take() {
        for (size_t s = 0; s < summary_.size(); ++s) {
            if (summary_[s] == 0) continue;
            const size_t word = s * 64 + static_cast<size_t>(std::countr_zero(summary_[s]));
            const size_t bit = static_cast<size_t>(std::countr_zero(words_[word]));
            words_[word] &= ~(uint64_t{1} << bit);
            if (words_[word] == 0) summary_[s] &= ~(uint64_t{1} << (word % 64));
            return word * 64 + bit;
        }
        return std::nullopt;
    }

    // Gives slot back; giving back a free slot changes nothing.
    void release(size_t slot) {
        if (slot >= kSlots) return;
        words_[slot / 64] |= uint64_t{1} << (slot % 64);
        summary_[slot / 64 / 64] |= uint64_t{1} << (slot / 64 % 64);
    }

  private:
    std::array<uint64_t, 1024> words_{};  // bit set: the slot is free
    std::array<uint64_t, 16> summary_{};  // bit set: that word has a free slot
};

}  // namespace pictavo::imaging
