// Run-length bitmaps: RLE8, RLE4 and OS/2's RLE24. Pixels the runs skip
// (with a delta or an early end of line) stay transparent, which the slide
// shows as its black background. Runs that reach past the picture's edge
// are clipped.

#include <algorithm>

#include "imaging/decoders/bmp_pixels.h"
#include "imaging/errors.h"
#include "imaging/limits.h"
#include "imaging/source_reader.h"

namespace pictavo::imaging::bmp {

namespace {

constexpr Pixel kSkipped = 0x00000000u;

class RunWriter {
  public:
    explicit RunWriter(Image& image) : image_(image) {}

    void put(Pixel p) {
        if (x_ >= image_.width) return;  // clipped; x stays put so it cannot overflow
        if (y_ < image_.height) image_.at(x_, image_.height - 1 - y_) = p;
        ++x_;
    }
    void endLine() {
        x_ = 0;
        ++y_;
    }
    void move(int dx, int dy) {
        x_ = std::min(x_ + dx, image_.width);
        y_ += dy;
    }
    bool finished() const { return y_ >= image_.height; }

  private:
    Image& image_;
    int x_ = 0;
    int y_ = 0;
};

// Reads pixel values of one depth: 4-bit indices come two to a byte, high
// nibble first; 8-bit indices one to a byte; 24-bit colours as B, G, R.
class PixelSource {
  public:
    explicit PixelSource(const Header& h) : h_(h) {}

    // An encoded run: count copies of one value (or two alternating nibbles).
    bool run(SourceReader& in, int count, RunWriter& out) const {
        if (h_.compression == Compression::Rle24) {
            const Pixel p = colour(in);
            for (int i = 0; i < count; ++i) out.put(p);
        } else {
            const uint8_t byte = in.u8();
            for (int i = 0; i < count; ++i) out.put(h_.palette[index(byte, i)]);
        }
        return !in.failed();
    }

    // An absolute run of count literal values, padded to a 2-byte boundary.
    bool literal(SourceReader& in, int count, RunWriter& out) const {
        const uint64_t start = in.position();
        if (h_.compression == Compression::Rle24) {
            for (int i = 0; i < count; ++i) out.put(colour(in));
        } else if (h_.compression == Compression::Rle8) {
            for (int i = 0; i < count; ++i) out.put(h_.palette[in.u8()]);
        } else {
            uint8_t byte = 0;
            for (int i = 0; i < count; ++i) {
                if (i % 2 == 0) byte = in.u8();
                out.put(h_.palette[index(byte, i)]);
            }
        }
        if ((in.position() - start) % 2 != 0) in.skip(1);
        return !in.failed();
    }

  private:
    int index(uint8_t byte, int i) const {
        if (h_.compression == Compression::Rle8) return byte;
        return i % 2 == 0 ? byte >> 4 : byte & 0x0F;
    }
    static Pixel colour(SourceReader& in) {
        const uint8_t b = in.u8();
        const uint8_t g = in.u8();
        const uint8_t r = in.u8();
        return rgb(r, g, b);
    }

    const Header& h_;
};

}  // namespace

Result<Image> readRunLengths(const ByteSource& file, const Header& h, WorkMeter& work) {
    auto image = allocateImage(h.width, h.height, kSkipped);
    if (!image) return image.error();
    image->sourceBits = h.bitCount;
    SourceReader in(file, h.pixelOffset);
    RunWriter out(*image);
    const PixelSource source(h);
    while (!out.finished()) {
        if (work.stopped()) return work.stopError();
        const uint8_t count = in.u8();
        const uint8_t code = in.u8();
        if (in.failed()) return in.failure();
        bool ok = true;
        if (count > 0) {
            in.seek(in.position() - 1);
            ok = source.run(in, count, out);
        } else if (code == 0) {
            out.endLine();
        } else if (code == 1) {
            break;
        } else if (code == 2) {
            const uint8_t dx = in.u8();
            const uint8_t dy = in.u8();
            out.move(dx, dy);
            ok = !in.failed();
        } else {
            ok = source.literal(in, code, out);
        }
        if (!ok) return in.failure();
    }
    return image;
}

}  // namespace pictavo::imaging::bmp
