#include "imaging/decoders/pcx.h"

#include <algorithm>
#include <array>
#include <vector>

#include "imaging/byte_reader.h"
#include "imaging/errors.h"
#include "imaging/limits.h"
#include "imaging/picture_sink.h"
#include "imaging/source_reader.h"

namespace pictavo::imaging {

namespace {

class PcxDecoder final : public Decoder {
  public:
    std::string_view name() const override { return "PCX"; }
    Confidence sniff(std::span<const uint8_t> bytes, std::string_view fileName) const override;
    std::span<const std::string_view> extensions() const override;
    bool readsInPieces() const override { return true; }
    Result<Image> decode(const DecodeRequest& request) const override;
};

constexpr std::string_view kFormat = "PCX";
constexpr std::array<std::string_view, 1> kExtensions = {"pcx"};
constexpr size_t kHeaderSize = 128;
constexpr size_t kVgaPaletteSize = 769;  // a 12 marker byte, then 256 x R, G, B

// What version 3 files, which carry no palette, are shown with.
constexpr std::array<Pixel, 16> kEgaPalette = {
    rgb(0, 0, 0),     rgb(0, 0, 170),    rgb(0, 170, 0),    rgb(0, 170, 170),
    rgb(170, 0, 0),   rgb(170, 0, 170),  rgb(170, 85, 0),   rgb(170, 170, 170),
    rgb(85, 85, 85),  rgb(85, 85, 255),  rgb(85, 255, 85),  rgb(85, 255, 255),
    rgb(255, 85, 85), rgb(255, 85, 255), rgb(255, 255, 85), rgb(255, 255, 255),
};

struct Header {
    uint8_t version = 0;
    uint8_t encoding = 0;
    uint8_t bitsPerPixel = 0;
    int64_t width = 0;
    int64_t height = 0;
    std::array<Pixel, 16> palette{};
    uint8_t planes = 0;
    uint16_t bytesPerLine = 0;

    int totalBits() const { return bitsPerPixel * planes; }
    size_t lineBytes() const { return size_t{planes} * bytesPerLine; }
};

struct Fields {
    uint8_t manufacturer = 0;
    Header header;
    uint16_t xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

Fields readFields(std::span<const uint8_t> bytes) {
    ByteReader in(bytes);
    Fields f;
    Header& h = f.header;
    f.manufacturer = in.u8();
    h.version = in.u8();
    h.encoding = in.u8();
    h.bitsPerPixel = in.u8();
    f.xMin = in.u16();
    f.yMin = in.u16();
    f.xMax = in.u16();
    f.yMax = in.u16();
    in.skip(4);  // resolution
    for (Pixel& p : h.palette) {
        const uint8_t r = in.u8();
        const uint8_t g = in.u8();
        const uint8_t b = in.u8();
        p = rgb(r, g, b);
    }
    in.skip(1);
    h.planes = in.u8();
    h.bytesPerLine = in.u16();
    h.width = int64_t{f.xMax} - f.xMin + 1;
    h.height = int64_t{f.yMax} - f.yMin + 1;
    if (h.version == 3) h.palette = kEgaPalette;
    return f;
}

bool plausible(const Fields& f) {
    const Header& h = f.header;
    const bool knownVersion =
        h.version == 0 || h.version == 2 || h.version == 3 || h.version == 4 || h.version == 5;
    const int bits = h.bitsPerPixel;
    return f.manufacturer == 0x0A && knownVersion && h.encoding <= 1 &&
           (bits == 1 || bits == 2 || bits == 4 || bits == 8) && h.planes >= 1 && h.planes <= 4 &&
           f.xMax >= f.xMin && f.yMax >= f.yMin;
}

bool supportedLayout(const Header& h) {
    if (h.bitsPerPixel == 8) return h.planes == 1 || h.planes == 3 || h.planes == 4;
    return h.totalBits() <= 4;
}

// Unpacks run-length lines one at a time. A run may carry on into the next
// line, which several writers do, so its leftover is kept between lines.
class LineReader {
  public:
    LineReader(SourceReader& in, bool encoded) : in_(in), encoded_(encoded) {}

    bool read(std::vector<uint8_t>& line) {
        for (uint8_t& out : line) {
            if (!encoded_) {
                out = in_.u8();
                continue;
            }
            while (pending_ == 0) {
                const uint8_t byte = in_.u8();
                if (in_.failed()) return false;
                if ((byte & 0xC0) == 0xC0) {
                    pending_ = byte & 0x3F;
                    value_ = in_.u8();
                } else {
                    pending_ = 1;
                    value_ = byte;
                }
            }
            out = value_;
            --pending_;
        }
        return !in_.failed();
    }

  private:
    SourceReader& in_;
    bool encoded_;
    int pending_ = 0;
    uint8_t value_ = 0;
};

std::array<Pixel, 256> vgaPalette(const ByteSource& file, uint64_t dataEnd) {
    std::array<uint8_t, kVgaPaletteSize> stored{};
    auto paletteAt = [&](uint64_t at) {
        if (!readExactly(file, at, stored) || stored[0] != 0x0C) return false;
        return true;
    };
    // Right after the pixels, or else where the format says: at the very end.
    const bool found =
        (dataEnd + kVgaPaletteSize <= file.size() && paletteAt(dataEnd)) ||
        (file.size() >= kHeaderSize + kVgaPaletteSize && paletteAt(file.size() - kVgaPaletteSize));
    std::array<Pixel, 256> palette{};
    for (size_t i = 0; i < 256; ++i) {
        palette[i] = found ? rgb(stored[1 + 3 * i], stored[2 + 3 * i], stored[3 + 3 * i])
                           : rgb(uint8_t(i), uint8_t(i), uint8_t(i));
    }
    return palette;
}

uint8_t sample(const uint8_t* plane, int64_t x, int bits) {
    const int64_t bit = x * bits;
    const int shift = 8 - bits - static_cast<int>(bit % 8);
    return static_cast<uint8_t>((plane[bit / 8] >> shift) & ((1 << bits) - 1));
}

// Palette index of pixel x: plane p gives bits p * bitsPerPixel and up.
uint8_t indexAt(const Header& h, const std::vector<uint8_t>& line, int64_t x) {
    unsigned index = 0;
    for (int p = 0; p < h.planes; ++p) {
        index |= unsigned{sample(&line[size_t(p) * h.bytesPerLine], x, h.bitsPerPixel)}
                 << (p * h.bitsPerPixel);
    }
    return static_cast<uint8_t>(index);
}

// Colour pictures get their colours; palette pictures keep their indices
// for now, since a 256-colour palette follows the pixels.
void convertLine(const Header& h, const std::vector<uint8_t>& line, Pixel* out) {
    const size_t stride = h.bytesPerLine;
    const bool colour = h.bitsPerPixel == 8 && h.planes >= 3;
    for (int64_t x = 0; x < h.width; ++x) {
        if (colour) {
            const auto at = static_cast<size_t>(x);
            const uint32_t alpha = h.planes == 4 ? line[3 * stride + at] : 255;
            out[x] = (alpha << 24) |
                     (rgb(line[at], line[stride + at], line[2 * stride + at]) & 0x00FFFFFFu);
        } else {
            out[x] = indexAt(h, line, x);
        }
    }
}

std::vector<Pixel> paletteFor(const Header& h, const ByteSource& file, uint64_t dataEnd) {
    // Monochrome files often leave the header palette empty; when it does
    // hold two different colours, they are what the writer meant.
    if (h.bitsPerPixel == 1 && h.planes == 1) {
        if (h.palette[0] != h.palette[1]) return {h.palette[0], h.palette[1]};
        return {rgb(0, 0, 0), rgb(255, 255, 255)};
    }
    if (h.bitsPerPixel == 8 && h.planes == 1) {
        const auto vga = vgaPalette(file, dataEnd);
        return {vga.begin(), vga.end()};
    }
    return {h.palette.begin(), h.palette.end()};
}

// Where the pixel data ends, for the palette that follows it: the lines
// unpacked once without being kept.
Result<uint64_t> pixelDataEnd(const ByteSource& file, const Header& h, WorkMeter& work) {
    SourceReader in(file, kHeaderSize);
    LineReader lines(in, h.encoding == 1);
    std::vector<uint8_t> line(h.lineBytes());
    for (int64_t y = 0; y < h.height; ++y) {
        if (work.stopped()) return work.stopError();
        if (!lines.read(line)) return in.failure();
    }
    return in.position();
}

// The colours of a palette picture, known before its lines are read;
// empty for a colour picture.
Result<std::vector<Pixel>> colours(const Header& h, const ByteSource& file, WorkMeter& work) {
    if (h.bitsPerPixel >= 8 && h.planes > 1) return std::vector<Pixel>{};
    uint64_t dataEnd = 0;
    if (h.bitsPerPixel == 8) {
        auto end = pixelDataEnd(file, h, work);
        if (!end) return end.error();
        dataEnd = *end;
    }
    return paletteFor(h, file, dataEnd);
}

}  // namespace

Result<Image> decodePcx(const ByteSource& file, WorkMeter& work, const Target& target) {
    std::array<uint8_t, kHeaderSize> header{};
    if (auto read = readExactly(file, 0, header); !read) return read.error();
    const Fields f = readFields(header);
    if (!plausible(f)) return invalidFile(kFormat, "bad header");
    const Header& h = f.header;
    if (!supportedLayout(h)) {
        return unsupportedFeature(kFormat, std::to_string(h.planes) + " planes of " +
                                               std::to_string(h.bitsPerPixel) + " bits");
    }
    if (auto fits = checkPictureSize(target, h.width, h.height); !fits) return fits.error();
    if (int64_t{h.bytesPerLine} * 8 < h.width * h.bitsPerPixel)
        return invalidFile(kFormat, "lines too short");

    // Even the best-packed data needs two bytes per 63 bytes of lines.
    const int64_t unpacked = h.height * static_cast<int64_t>(h.lineBytes());
    const int64_t least = h.encoding == 1 ? (unpacked + 62) / 63 * 2 : unpacked;
    if (static_cast<int64_t>(file.size() - kHeaderSize) < least) return fileTruncated();

    auto palette = colours(h, file, work);
    if (!palette) return palette.error();
    PictureSink::Layout layout;
    layout.storedWidth = static_cast<int>(h.width);
    layout.storedHeight = static_cast<int>(h.height);
    if (h.planes == 4 && h.bitsPerPixel == 8) layout.alpha = PictureSink::Alpha::OpaqueIfAllZero;
    auto sink = PictureSink::open(target, layout);
    if (!sink) return sink.error();

    SourceReader in(file, kHeaderSize);
    LineReader lines(in, h.encoding == 1);
    std::vector<uint8_t> line(h.lineBytes());
    std::vector<Pixel> row(static_cast<size_t>(h.width));
    // Lines are packed one after another: those above a centred picture's
    // window are unpacked and dropped, those below it never read.
    const Rect window = sink->storedWindow();
    for (int y = 0; y < window.y + window.height; ++y) {
        if (work.stopped()) return work.stopError();
        if (!lines.read(line)) return in.failure();
        if (y < window.y) continue;
        Pixel* direct = sink->directRow(y);
        Pixel* out = direct != nullptr ? direct : row.data();
        convertLine(h, line, out);
        if (!palette->empty()) {
            for (int64_t x = 0; x < h.width; ++x) out[x] = (*palette)[out[x]];
        }
        if (direct == nullptr) sink->writeRow(y, 0, row);
    }
    Image image = sink->take();
    image.sourceBits = h.totalBits();
    return image;
}

Confidence PcxDecoder::sniff(std::span<const uint8_t> bytes, std::string_view) const {
    if (bytes.size() < kHeaderSize) return Confidence::None;
    return plausible(readFields(bytes)) ? Confidence::Weak : Confidence::None;
}

std::span<const std::string_view> PcxDecoder::extensions() const {
    return kExtensions;
}

Result<Image> PcxDecoder::decode(const DecodeRequest& request) const {
    return decodePcx(*RequestFile(request), *request.work, request.target);
}

std::unique_ptr<Decoder> makePcxDecoder() {
    return std::make_unique<PcxDecoder>();
}

}  // namespace pictavo::imaging
