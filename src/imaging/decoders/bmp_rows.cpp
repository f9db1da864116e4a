// Uncompressed bitmap rows, padded to four bytes, bottom row first unless
// the header says top-down.

#include <bit>

#include "imaging/decoders/bmp_pixels.h"
#include "imaging/errors.h"
#include "imaging/limits.h"
#include "imaging/picture_sink.h"
#include "imaging/source_reader.h"

namespace pictavo::imaging::bmp {

namespace {

// One colour channel held under a mask, widened or narrowed to 8 bits.
class Channel {
  public:
    explicit Channel(uint32_t mask)
        : mask_(mask),
          shift_(mask == 0 ? 0 : std::countr_zero(mask)),
          max_(mask == 0 ? 0 : mask >> shift_) {}

    bool present() const { return mask_ != 0; }
    // A mask must be one run of bits: 0x7C00 is, 0x7C01 is not.
    bool contiguous() const { return (max_ & (max_ + 1)) == 0; }

    uint8_t operator()(uint32_t pixel) const {
        if (max_ == 0) return 0;
        const uint32_t value = (pixel & mask_) >> shift_;
        if (max_ == 255) return static_cast<uint8_t>(value);
        return static_cast<uint8_t>((uint64_t{value} * 255 + max_ / 2) / max_);
    }

  private:
    uint32_t mask_;
    int shift_;
    uint32_t max_;
};

struct Masks {
    Channel r, g, b, a;
};

uint32_t readLittleEndian(const uint8_t* p, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
    return value;
}

void readIndexedRow(const uint8_t* row, const Header& h, Pixel* out, int64_t width) {
    const int bits = h.bitCount;
    const int perByte = 8 / bits;
    const uint8_t mask = static_cast<uint8_t>((1 << bits) - 1);
    for (int64_t x = 0; x < width; ++x) {
        const uint8_t byte = row[x / perByte];
        const int shift = 8 - bits * (static_cast<int>(x % perByte) + 1);
        out[x] = h.palette[(byte >> shift) & mask];
    }
}

void readColourRow(const uint8_t* row, const Header& h, const Masks& m, Pixel* out, int64_t width) {
    const int bytes = h.bitCount / 8;
    for (int64_t x = 0; x < width; ++x, row += bytes) {
        if (bytes == 3) {
            out[x] = rgb(row[2], row[1], row[0]);
            continue;
        }
        const uint32_t value = readLittleEndian(row, bytes);
        const uint8_t alpha = m.a.present() ? m.a(value) : 255;
        out[x] = (uint32_t{alpha} << 24) | (uint32_t{m.r(value)} << 16) |
                 (uint32_t{m.g(value)} << 8) | m.b(value);
    }
}

}  // namespace

Result<Image> readRows(const ByteSource& file, const Header& h, WorkMeter& work,
                       const Target& target) {
    const Masks masks{Channel(h.masks[0]), Channel(h.masks[1]), Channel(h.masks[2]),
                      Channel(h.masks[3])};
    if (!masks.r.contiguous() || !masks.g.contiguous() || !masks.b.contiguous() ||
        !masks.a.contiguous()) {
        return invalidFile("BMP", "bad colour masks");
    }
    const int64_t stride = (h.width * h.bitCount + 31) / 32 * 4;
    // The last row need not carry its padding.
    const int64_t needed = stride * (h.height - 1) + (h.width * h.bitCount + 7) / 8;
    if (h.pixelOffset > file.size() ||
        static_cast<uint64_t>(needed) > file.size() - h.pixelOffset) {
        return fileTruncated();
    }
    PictureSink::Layout layout;
    layout.orientation = h.topDown ? Orientation::Upright : Orientation::MirroredTopBottom;
    layout.storedWidth = static_cast<int>(h.width);
    layout.storedHeight = static_cast<int>(h.height);
    if (masks.a.present()) layout.alpha = PictureSink::Alpha::OpaqueIfAllZero;
    auto sink = PictureSink::open(target, layout);
    if (!sink) return sink.error();
    const auto rowBytes = static_cast<size_t>((h.width * h.bitCount + 7) / 8);
    std::vector<Pixel> decoded(static_cast<size_t>(h.width));
    SourceReader reader(file);
    // The rows in the file's order, bottom first unless top-down; of a
    // centred picture only those the screen shows.
    const Rect window = sink->storedWindow();
    for (int64_t row = window.y; row < window.y + window.height; ++row) {
        if (work.stopped()) return work.stopError();
        reader.seek(h.pixelOffset + static_cast<uint64_t>(row * stride));
        const auto data = reader.take(rowBytes);
        if (reader.failed()) return reader.failure();
        Pixel* direct = sink->directRow(static_cast<int>(row));
        Pixel* out = direct != nullptr ? direct : decoded.data();
        if (h.bitCount <= 8) {
            readIndexedRow(data.data(), h, out, h.width);
        } else {
            readColourRow(data.data(), h, masks, out, h.width);
        }
        if (direct == nullptr) sink->writeRow(static_cast<int>(row), 0, decoded);
    }
    Image image = sink->take();
    image.sourceBits = h.bitCount;
    return image;
}

}  // namespace pictavo::imaging::bmp
