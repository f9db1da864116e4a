#include "imaging/decoders/tga.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/byte_reader.h"
#include "imaging/errors.h"
#include "imaging/limits.h"
#include "imaging/picture_sink.h"
#include "imaging/source_reader.h"

namespace pictavo::imaging {

namespace {

class TgaDecoder final : public Decoder {
  public:
    std::string_view name() const override { return "TGA"; }
    Confidence sniff(std::span<const uint8_t> bytes, std::string_view fileName) const override;
    std::span<const std::string_view> extensions() const override;
    bool readsInPieces() const override { return true; }
    Result<Image> decode(const DecodeRequest& request) const override;
};

constexpr std::string_view kFormat = "TGA";
constexpr std::array<std::string_view, 5> kExtensions = {"tga", "targa", "icb", "vda", "vst"};
constexpr size_t kHeaderSize = 18;
constexpr char kFooterSignature[] = "TRUEVISION-XFILE.";  // with its NUL, 18 bytes

enum class Kind { Mapped, TrueColour, Grey };

struct Header {
    uint8_t idLength = 0;
    uint8_t colourMapType = 0;
    uint8_t imageType = 0;
    uint16_t mapFirst = 0;
    uint16_t mapLength = 0;
    uint8_t mapEntryBits = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t depth = 0;
    uint8_t descriptor = 0;

    Kind kind() const {
        const int base = imageType & 7;
        return base == 1 ? Kind::Mapped : base == 2 ? Kind::TrueColour : Kind::Grey;
    }
    bool runLength() const { return imageType >= 9; }
    bool topFirst() const { return (descriptor & 0x20) != 0; }
    bool rightToLeft() const { return (descriptor & 0x10) != 0; }
    int alphaBits() const { return descriptor & 0x0F; }
    size_t pixelBytes() const { return (depth + 7u) / 8u; }
};

Header readHeader(ByteReader& in) {
    Header h;
    h.idLength = in.u8();
    h.colourMapType = in.u8();
    h.imageType = in.u8();
    h.mapFirst = in.u16();
    h.mapLength = in.u16();
    h.mapEntryBits = in.u8();
    in.skip(4);  // origin on screen
    h.width = in.u16();
    h.height = in.u16();
    h.depth = in.u8();
    h.descriptor = in.u8();
    return h;
}

bool validMapEntryBits(int bits) {
    return bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

// Empty when the header is sound, else what is wrong with it.
std::string headerFault(const Header& h) {
    const int type = h.imageType;
    if (type != 1 && type != 2 && type != 3 && type != 9 && type != 10 && type != 11)
        return "image type";
    if (h.colourMapType > 1) return "colour map type";
    if (h.colourMapType == 1 && !validMapEntryBits(h.mapEntryBits)) return "colour map entry size";
    switch (h.kind()) {
        case Kind::Mapped:
            if (h.colourMapType != 1) return "colour map missing";
            if (h.depth != 8 && h.depth != 16) return "bit depth";
            break;
        case Kind::TrueColour:
            if (!validMapEntryBits(h.depth)) return "bit depth";
            break;
        case Kind::Grey:
            if (h.depth != 8 && h.depth != 16) return "bit depth";
            break;
    }
    if ((h.descriptor & 0xC0) != 0) return "interleaved rows";
    return {};
}

bool hasFooter(std::span<const uint8_t> bytes) {
    constexpr size_t length = sizeof(kFooterSignature);
    return bytes.size() >= kHeaderSize + length &&
           std::memcmp(bytes.data() + bytes.size() - length, kFooterSignature, length) == 0;
}

uint8_t widen5(uint32_t v) {
    return static_cast<uint8_t>((v * 255 + 15) / 31);
}

// One stored colour of 15, 16, 24 or 32 bits (B, G, R, A in file order).
Pixel colourOf(const uint8_t* p, int bits, bool useAlpha) {
    if (bits == 15 || bits == 16) {
        const uint32_t v = p[0] | (uint32_t{p[1]} << 8);
        const bool opaque = !useAlpha || (v & 0x8000) != 0;
        return (opaque ? 0xFF000000u : 0u) | (uint32_t{widen5((v >> 10) & 31)} << 16) |
               (uint32_t{widen5((v >> 5) & 31)} << 8) | widen5(v & 31);
    }
    const uint32_t alpha = bits == 32 && useAlpha ? p[3] : 255;
    return (alpha << 24) | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
}

Result<std::vector<Pixel>> readColourMap(const Header& h, ByteReader& in) {
    if (h.colourMapType != 1) return std::vector<Pixel>{};
    const size_t entryBytes = (h.mapEntryBits + 7u) / 8u;
    auto data = in.take(h.mapLength * entryBytes);
    if (in.failed()) return fileTruncated();
    std::vector<Pixel> map(h.mapLength);
    for (size_t i = 0; i < map.size(); ++i)
        map[i] = colourOf(&data[i * entryBytes], h.mapEntryBits, true);
    return map;
}

// Turns the stored value of one pixel into a colour.
class PixelReader {
  public:
    PixelReader(const Header& h, std::vector<Pixel> map) : h_(h), map_(std::move(map)) {
        useAlpha_ = h.depth == 32 || (h.depth == 16 && h.kind() == Kind::Grey) || h.alphaBits() > 0;
    }

    Pixel operator()(const uint8_t* p) const {
        switch (h_.kind()) {
            case Kind::Mapped: {
                const size_t index = h_.depth == 16 ? p[0] | (size_t{p[1]} << 8) : p[0];
                if (index < h_.mapFirst || index - h_.mapFirst >= map_.size()) return rgb(0, 0, 0);
                return map_[index - h_.mapFirst];
            }
            case Kind::Grey: {
                const uint32_t alpha = h_.depth == 16 ? p[1] : 255;
                return (alpha << 24) | (rgb(p[0], p[0], p[0]) & 0x00FFFFFFu);
            }
            case Kind::TrueColour:
                break;
        }
        return colourOf(p, h_.depth, useAlpha_);
    }

    bool usesAlpha() const { return useAlpha_ || h_.kind() == Kind::Mapped; }

  private:
    const Header& h_;
    std::vector<Pixel> map_;
    bool useAlpha_ = false;
};

// Places the n-th pixel of the file's order in its stored row; the picture
// is turned upright from the file's order by the sink.
class Placer {
  public:
    Placer(const Header& h, PictureSink& sink)
        : width_(h.width), rows_(sink, h.width, h.height, rgb(0, 0, 0)) {}

    void put(size_t n, Pixel p) {
        const auto row = static_cast<int>(n / width_);
        if (row != rows_.y()) rows_.moveTo(row);
        rows_.row()[n % width_] = p;
    }
    void finish() { rows_.finish(); }

  private:
    size_t width_;
    RowAssembler rows_;
};

Orientation storedOrder(const Header& h) {
    if (h.rightToLeft())
        return h.topFirst() ? Orientation::MirroredLeftRight : Orientation::Rotated180;
    return h.topFirst() ? Orientation::Upright : Orientation::MirroredTopBottom;
}

// Both read a row (a packet) at a time, never the file's bytes all at once,
// and stop (false) between rows or packets once work says so.
bool readRaw(SourceReader& in, const PixelReader& read, Placer& place, size_t count,
             size_t pixelBytes, size_t rowPixels, const WorkMeter& work) {
    for (size_t n = 0; n < count; n += rowPixels) {
        if (work.stopped()) return false;
        const size_t pixels = std::min(rowPixels, count - n);
        auto data = in.take(pixels * pixelBytes);
        if (in.failed()) return false;
        for (size_t i = 0; i < pixels; ++i) place.put(n + i, read(&data[i * pixelBytes]));
    }
    return true;
}

// Packets may run on from one row to the next, as many writers do.
bool readRunLength(SourceReader& in, const PixelReader& read, Placer& place, size_t count,
                   size_t pixelBytes, const WorkMeter& work) {
    size_t n = 0;
    while (n < count) {
        if (work.stopped()) return false;
        const uint8_t packet = in.u8();
        const size_t length = std::min<size_t>((packet & 0x7Fu) + 1, count - n);
        if ((packet & 0x80) != 0) {
            auto value = in.take(pixelBytes);
            if (in.failed()) return false;
            const Pixel p = read(value.data());
            for (size_t i = 0; i < length; ++i) place.put(n++, p);
        } else {
            auto values = in.take(length * pixelBytes);
            if (in.failed()) return false;
            for (size_t i = 0; i < length; ++i) place.put(n++, read(&values[i * pixelBytes]));
        }
    }
    return true;
}
}  // namespace

Confidence TgaDecoder::sniff(std::span<const uint8_t> bytes, std::string_view) const {
    ByteReader in(bytes);
    const Header h = readHeader(in);
    if (in.failed() || !headerFault(h).empty() || h.width == 0 || h.height == 0)
        return Confidence::None;
    return hasFooter(bytes) ? Confidence::Strong : Confidence::Weak;
}

std::span<const std::string_view> TgaDecoder::extensions() const {
    return kExtensions;
}

Result<Image> TgaDecoder::decode(const DecodeRequest& request) const {
    ByteReader in(request.bytes);
    const Header h = readHeader(in);
    if (in.failed()) return fileTruncated();
    if (auto fault = headerFault(h); !fault.empty()) return invalidFile(kFormat, "bad " + fault);
    if (auto fits = checkPictureSize(request.target, h.width, h.height); !fits) return fits.error();
    in.skip(h.idLength);
    auto map = readColourMap(h, in);
    if (!map) return map.error();

    const size_t pixels = size_t{h.width} * h.height;
    const size_t pixelBytes = h.pixelBytes();
    // Even the best-packed data needs one packet per 128 pixels.
    const size_t leastBytes =
        h.runLength() ? (pixels + 127) / 128 * (1 + pixelBytes) : pixels * pixelBytes;
    // The headers came from the file's beginning; the pixels come from the file.
    const RequestFile file(request);
    if (in.failed() || in.position() > file->size() || file->size() - in.position() < leastBytes) {
        return fileTruncated();
    }

    const PixelReader read(h, std::move(*map));
    PictureSink::Layout layout;
    layout.orientation = storedOrder(h);
    layout.storedWidth = h.width;
    layout.storedHeight = h.height;
    if (read.usesAlpha()) layout.alpha = PictureSink::Alpha::OpaqueIfAllZero;
    auto sink = PictureSink::open(request.target, layout);
    if (!sink) return sink.error();
    Placer place(h, *sink);
    const WorkMeter& work = *request.work;
    SourceReader pixelData(*file, in.position());
    const bool complete = h.runLength()
                              ? readRunLength(pixelData, read, place, pixels, pixelBytes, work)
                              : readRaw(pixelData, read, place, pixels, pixelBytes, h.width, work);
    if (!complete) return work.stopped() ? work.stopError() : pixelData.failure();
    place.finish();
    Image image = sink->take();
    image.sourceBits = h.kind() == Kind::Grey ? 8 : h.depth;
    return image;
}

std::unique_ptr<Decoder> makeTgaDecoder() {
    return std::make_unique<TgaDecoder>();
}

}  // namespace pictavo::imaging
