#include "imaging/exif.h"

#include <cstring>
#include <optional>

namespace pictavo::imaging {

namespace {

constexpr uint16_t orientationTag = 0x0112;

// Reads a TIFF structure in its own byte order.
class TiffReader {
  public:
    explicit TiffReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool readByteOrder() {
        if (bytes_.size() < 8) return false;
        if (bytes_[0] == 'I' && bytes_[1] == 'I') {
            bigEndian_ = false;
        } else if (bytes_[0] == 'M' && bytes_[1] == 'M') {
            bigEndian_ = true;
        } else {
            return false;
        }
        return u16(2) == 42;
    }

    std::optional<uint16_t> u16(size_t at) const {
        if (at > bytes_.size() || bytes_.size() - at < 2) return std::nullopt;
        const uint16_t a = bytes_[at];
        const uint16_t b = bytes_[at + 1];
        return static_cast<uint16_t>(bigEndian_ ? (a << 8) | b : (b << 8) | a);
    }

    std::optional<uint32_t> u32(size_t at) const {
        const auto hi = u16(bigEndian_ ? at : at + 2);
        const auto lo = u16(bigEndian_ ? at + 2 : at);
        if (!hi || !lo) return std::nullopt;
        return (uint32_t{*hi} << 16) | *lo;
    }

  private:
    std::span<const uint8_t> bytes_;
    bool bigEndian_ = false;
};

}  // namespace

std::optional<OrientationEntry> findOrientationEntry(std::span<const uint8_t> bytes) {
    TiffReader tiff(bytes);
    if (!tiff.readByteOrder()) return std::nullopt;
    const auto ifd = tiff.u32(4);
    if (!ifd) return std::nullopt;
    const auto count = tiff.u16(*ifd);
    if (!count) return std::nullopt;
    for (size_t i = 0; i < *count; ++i) {
        const size_t entry = *ifd + 2 + 12 * i;
        const auto tag = tiff.u16(entry);
        const auto type = tiff.u16(entry + 2);
        if (!tag || !type) return std::nullopt;
        if (*tag != orientationTag) continue;
        if (*type == kTiffShort) {
            const auto value = tiff.u16(entry + 8);
            if (!value) return std::nullopt;
            return OrientationEntry{*type, *value};
        }
        if (*type == kTiffLong) {
            const auto value = tiff.u32(entry + 8);
            if (!value) return std::nullopt;
            return OrientationEntry{*type, *value};
        }
        return OrientationEntry{*type, 0};
    }
    return std::nullopt;
}

Orientation exifOrientation(std::span<const uint8_t> app1) {
    static constexpr char header[] = {'E', 'x', 'i', 'f', 0, 0};
    if (app1.size() < sizeof header || std::memcmp(app1.data(), header, sizeof header) != 0) {
        return Orientation::Upright;
    }
    const auto entry = findOrientationEntry(app1.subspan(sizeof header));
    if (!entry || (entry->type != kTiffShort && entry->type != kTiffLong))
        return Orientation::Upright;
    return orientationFromTag(static_cast<long>(entry->value));
}

}  // namespace pictavo::imaging
