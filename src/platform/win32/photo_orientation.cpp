#include "platform/win32/photo_orientation.h"

#include <algorithm>
#include <optional>

#include "imaging/exif.h"

namespace pictavo::platform::win32 {

namespace {

constexpr uint16_t kOrientationTag = 274;
constexpr uint16_t kShortType = 3;
constexpr size_t kEntrySize = 12;

// Reads numbers of one byte order, or nothing past the end.
class TiffReader {
  public:
    TiffReader(std::span<const uint8_t> bytes, bool bigEndian)
        : bytes_(bytes), bigEndian_(bigEndian) {}

    std::optional<uint16_t> u16(size_t at) const {
        if (at + 2 > bytes_.size()) return std::nullopt;
        return bigEndian_ ? static_cast<uint16_t>(bytes_[at] << 8 | bytes_[at + 1])
                          : static_cast<uint16_t>(bytes_[at + 1] << 8 | bytes_[at]);
    }
    std::optional<uint32_t> u32(size_t at) const {
        auto high = u16(bigEndian_ ? at : at + 2);
        auto low = u16(bigEndian_ ? at + 2 : at);
        if (!high || !low) return std::nullopt;
        return uint32_t{*high} << 16 | *low;
    }

  private:
    std::span<const uint8_t> bytes_;
    bool bigEndian_;
};

bool startsWith(std::span<const uint8_t> bytes, std::span<const uint8_t> prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

}  // namespace

int tiffOrientation(std::span<const uint8_t> tiff) {
    if (tiff.size() < 8) return 1;
    const bool bigEndian = tiff[0] == 'M' && tiff[1] == 'M';
    if (!bigEndian && !(tiff[0] == 'I' && tiff[1] == 'I')) return 1;
    const TiffReader in(tiff, bigEndian);
    auto magic = in.u16(2);
    auto ifd = in.u32(4);
    if (magic != 42 || !ifd) return 1;
    auto count = in.u16(*ifd);
    if (!count) return 1;
    for (size_t i = 0; i < *count; ++i) {
        const size_t entry = *ifd + 2 + i * kEntrySize;
        auto tag = in.u16(entry);
        if (!tag) return 1;  // the directory runs past the end
        if (*tag != kOrientationTag) continue;
        auto type = in.u16(entry + 2);
        auto value = in.u16(entry + 8);
        if (type != kShortType || !value || *value < 1 || *value > 8) return 1;
        return *value;
    }
    return 1;
}

int jpegOrientation(std::span<const uint8_t> jpeg) {
    static constexpr uint8_t kExif[] = {'E', 'x', 'i', 'f', 0, 0};
    if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) return 1;
    size_t at = 2;
    while (at + 4 <= jpeg.size()) {
        if (jpeg[at] != 0xFF) return 1;
        const uint8_t marker = jpeg[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        // The picture data starts, or the file ends: no EXIF block before it.
        if (marker == 0xDA || marker == 0xD9) return 1;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length
            at += 2;
            continue;
        }
        const size_t length = size_t{jpeg[at + 2]} << 8 | jpeg[at + 3];
        if (length < 2 || at + 2 + length > jpeg.size()) return 1;
        auto payload = jpeg.subspan(at + 4, length - 2);
        if (marker == 0xE1 && startsWith(payload, kExif))
            return static_cast<int>(imaging::exifOrientation(payload));
        at += 2 + length;
    }
    return 1;
}

}  // namespace pictavo::platform::win32
