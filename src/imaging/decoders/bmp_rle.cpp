// Run-length bitmaps: RLE8, RLE4 and OS/2's RLE24. Pixels the runs skip
// (with a delta or an early end of line) stay transparent, which the slide
// shows as its black background. Runs that reach past the picture's edge
// are clipped.

#include <algorithm>

#include "imaging/decoders/bmp_pixels.h"
#include "imaging/errors.h"
#include "imaging/limits.h"
#include "imaging/picture_sink.h"
#include "imaging/source_reader.h"

namespace pictavo::imaging::bmp {

namespace {

constexpr Pixel kSkipped = 0x00000000u;

// Puts run pixels at the current position of the rows, which go to the
// picture as the runs leave them.
class RunWriter {
  public:
    RunWriter(PictureSink& sink, int width, int height)
        : rows_(sink, width, height, kSkipped), width_(width), height_(height) {}

    void put(Pixel p) {
        if (x_ >= width_) return;  // clipped; x stays put so it cannot overflow
        if (rows_.y() < height_) rows_.row()[static_cast<size_t>(x_)] = p;
        ++x_;
    }
    void endLine() {
        x_ = 0;
        rows_.moveTo(rows_.y() + 1);
    }
    void move(int dx, int dy) {
        x_ = std::min(x_ + dx, width_);
        if (dy > 0) rows_.moveTo(rows_.y() + dy);
    }
    bool finished() const { return rows_.y() >= height_; }
    void finish() { rows_.finish(); }

  private:
    RowAssembler rows_;
    int width_;
    int height_;
    int x_ = 0;
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

Result<Image> readRunLengths(const ByteSource& file, const Header& h, WorkMeter& work,
                             const Target& target) {
    // Rows run from the bottom up.
    PictureSink::Layout layout;
    layout.orientation = Orientation::MirroredTopBottom;
    layout.storedWidth = static_cast<int>(h.width);
    layout.storedHeight = static_cast<int>(h.height);
    layout.fill = kSkipped;
    auto sink = PictureSink::open(target, layout);
    if (!sink) return sink.error();
    SourceReader in(file, h.pixelOffset);
    RunWriter out(*sink, layout.storedWidth, layout.storedHeight);
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
    out.finish();
    Image image = sink->take();
    image.sourceBits = h.bitCount;
    return image;
}

}  // namespace pictavo::imaging::bmp
