#include "hosts/win32/photo_orientation.h"

#include <algorithm>
#include <optional>

#include "imaging/exif.h"

namespace pictavo::platform::win32 {

namespace {

bool startsWith(std::span<const uint8_t> bytes, std::span<const uint8_t> prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

}  // namespace

int tiffOrientation(std::span<const uint8_t> tiff) {
    // Only the tag's own type counts here; a LONG or an unknown number is upright.
    const auto entry = imaging::findOrientationEntry(tiff);
    if (!entry || entry->type != imaging::kTiffShort || entry->value < 1 || entry->value > 8)
        return 1;
    return static_cast<int>(entry->value);
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
