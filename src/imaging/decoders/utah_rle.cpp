#include "imaging/decoders/utah_rle.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <vector>

#include "imaging/byte_reader.h"
#include "imaging/errors.h"
#include "imaging/limits.h"
#include "imaging/picture_sink.h"
#include "imaging/source_reader.h"

namespace pictavo::imaging {

namespace {

class UtahRleDecoder final : public Decoder {
  public:
    std::string_view name() const override { return "Utah RLE"; }
    Confidence sniff(std::span<const uint8_t> bytes, std::string_view fileName) const override;
    std::span<const std::string_view> extensions() const override;
    bool readsInPieces() const override { return true; }
    Result<Image> decode(const DecodeRequest& request) const override;
};

constexpr std::string_view kFormat = "Utah RLE";
constexpr std::array<std::string_view, 1> kExtensions = {"rle"};
constexpr uint16_t kMagic = 0xCC52;

constexpr uint8_t kClearFirst = 0x01;
constexpr uint8_t kNoBackground = 0x02;
constexpr uint8_t kAlpha = 0x04;
constexpr uint8_t kComment = 0x08;

enum Opcode : uint8_t {
    SkipLines = 1,
    SetColour = 2,
    SkipPixels = 3,
    ByteData = 5,
    RunData = 6,
    End = 7
};
constexpr uint8_t kLongOperand = 0x40;
constexpr int kAlphaChannel = 255;

struct Header {
    int width = 0;
    int height = 0;
    uint8_t flags = 0;
    int colours = 0;  // channels besides alpha
    int pixelBits = 0;
    int mapChannels = 0;
    int mapLengthBits = 0;
};

Header readHeader(ByteReader& in) {
    Header h;
    in.skip(6);  // magic, position on screen
    h.width = in.u16();
    h.height = in.u16();
    h.flags = in.u8();
    h.colours = in.u8();
    h.pixelBits = in.u8();
    h.mapChannels = in.u8();
    h.mapLengthBits = in.u8();
    return h;
}

// The colour map turns 8-bit channel values into colours: three maps for
// one channel make a palette; otherwise each channel has its own map (or
// shares the first).
class ColourMap {
  public:
    ColourMap(const Header& h, ByteReader& in)
        : channels_(h.mapChannels), length_(size_t{1} << h.mapLengthBits) {
        values_.resize(static_cast<size_t>(channels_) * length_);
        for (uint16_t& v : values_) v = in.u16();
    }

    uint8_t map(int mapChannel, uint8_t value) const {
        if (channels_ == 0 || value >= length_) return value;
        const auto channel = static_cast<size_t>(std::min(mapChannel, channels_ - 1));
        return static_cast<uint8_t>(values_[channel * length_ + value] >> 8);
    }
    bool palette(const Header& h) const { return h.colours == 1 && channels_ >= 3; }

  private:
    int channels_;
    size_t length_;
    std::vector<uint16_t> values_;
};

// Writes channel values into the row being painted: channels 0, 1 and 2
// into red, green and blue, alpha into alpha. A single channel (grey or
// palette) goes into red and is spread by the colour map. Other channels
// are stepped over without being painted.
//
// A file paints each channel of each pixel once, give or take: a code can
// send the pen back to the line's start, so a few bytes can paint a line
// again and again. The paint is counted, not the bytes: twice what the
// picture's channels hold is all a file may paint.
class Painter {
  public:
    Painter(RowAssembler& rows, int width, int height, bool hasAlpha, int channels)
        : rows_(rows),
          width_(width),
          height_(height),
          hasAlpha_(hasAlpha),
          allowance_(2 * int64_t{width} * height * (channels + (hasAlpha ? 1 : 0))) {}

    void setChannel(int channel) {
        shift_ = channel == kAlphaChannel      ? (hasAlpha_ ? 24 : -1)
                 : channel >= 0 && channel < 3 ? 16 - 8 * channel
                                               : -1;
        x_ = 0;
    }
    void skipLines(int64_t count) {
        rows_.moveTo(static_cast<int>(std::min<int64_t>(rows_.y() + count, height_)));
        x_ = 0;
    }
    void skipPixels(int64_t count) { x_ = std::min<int64_t>(x_ + count, width_); }
    // A run paints only up to the line's end: a 4-byte code can claim
    // 65536 pixels.
    void run(uint8_t value, int64_t count) {
        const int64_t visible = std::min(count, width_ - x_);
        if (!painting()) {
            x_ += visible;
            return;
        }
        painted_ += visible;
        for (int64_t i = 0; i < visible; ++i) put(value);
    }
    void values(std::span<const uint8_t> bytes) {
        if (!painting()) {
            skipPixels(static_cast<int64_t>(bytes.size()));
            return;
        }
        painted_ += static_cast<int64_t>(bytes.size());
        for (uint8_t v : bytes) put(v);
    }
    bool overpainted() const { return painted_ > allowance_; }

  private:
    bool painting() const { return shift_ >= 0 && rows_.y() < height_; }
    void put(uint8_t value) {
        if (x_ >= width_) return;
        Pixel& p = rows_.row()[static_cast<size_t>(x_)];
        p = (p & ~(0xFFu << shift_)) | (uint32_t{value} << shift_);
        ++x_;
    }

    RowAssembler& rows_;
    int64_t width_;
    int height_;
    bool hasAlpha_;
    int64_t allowance_;
    int64_t painted_ = 0;
    int shift_ = -1;
    int64_t x_ = 0;
};

// Runs the opcodes until the end code; false when the data stops first,
// the file paints too much, or work says to stop.
bool paint(SourceReader& in, Painter& painter, const WorkMeter& work) {
    while (true) {
        if (work.stopped() || painter.overpainted()) return false;
        const uint8_t code = in.u8();
        int64_t operand = in.u8();
        if ((code & kLongOperand) != 0) operand = in.u16();
        if (in.failed()) return false;
        switch (code & ~kLongOperand) {
            case SkipLines:
                painter.skipLines(operand);
                break;
            case SetColour:
                painter.setChannel(static_cast<int>(operand));
                break;
            case SkipPixels:
                painter.skipPixels(operand);
                break;
            case ByteData: {
                painter.values(in.take(static_cast<size_t>(operand + 1)));
                if ((operand + 1) % 2 != 0) in.skip(1);
                break;
            }
            case RunData:
                painter.run(static_cast<uint8_t>(in.u16()), operand + 1);
                break;
            case End:
                return true;
            default:
                break;  // unknown codes carry no data; skip them
        }
        if (in.failed()) return false;
    }
}

void applyColourMap(const Header& h, const ColourMap& map, std::span<Pixel> pixels) {
    for (Pixel& p : pixels) {
        const uint8_t first = red(p);
        std::array<uint8_t, 3> c{};
        if (map.palette(h)) {
            c = {map.map(0, first), map.map(1, first), map.map(2, first)};
        } else if (h.colours >= 3) {
            c = {map.map(0, first), map.map(1, green(p)), map.map(2, blue(p))};
        } else {
            c.fill(map.map(0, first));
        }
        p = (p & 0xFF000000u) | (rgb(c[0], c[1], c[2]) & 0x00FFFFFFu);
    }
}

}  // namespace

Confidence UtahRleDecoder::sniff(std::span<const uint8_t> bytes, std::string_view) const {
    ByteReader in(bytes);
    if (in.u16() != kMagic) return Confidence::None;
    in.seek(12);
    return in.u8() == 8 && !in.failed() ? Confidence::Strong : Confidence::Weak;
}

std::span<const std::string_view> UtahRleDecoder::extensions() const {
    return kExtensions;
}

Result<Image> UtahRleDecoder::decode(const DecodeRequest& request) const {
    ByteReader in(request.bytes);
    if (in.u16() != kMagic) return unsupportedFormat();
    in.seek(0);
    const Header h = readHeader(in);
    if (in.failed()) return fileTruncated();
    if (h.pixelBits != 8)
        return unsupportedFeature(kFormat, std::to_string(h.pixelBits) + " bits per channel");
    if (h.colours < 1 || h.mapLengthBits > 8) return invalidFile(kFormat, "bad header");
    if (auto fits = checkPictureSize(request.target, h.width, h.height); !fits) return fits.error();

    // The background colour (or a filler byte) keeps what follows on an even offset.
    std::array<uint8_t, 3> background{};
    if ((h.flags & kNoBackground) != 0) {
        in.skip(1);
    } else {
        for (int c = 0; c < h.colours; ++c) {
            const uint8_t value = in.u8();
            if (c < 3) background[static_cast<size_t>(c)] = value;
        }
        if (h.colours % 2 == 0) in.skip(1);
        if ((h.flags & kClearFirst) == 0) background.fill(0);
    }
    const ColourMap map(h, in);
    if ((h.flags & kComment) != 0) {
        const uint16_t length = in.u16();
        in.skip(length + (length % 2));
    }
    if (in.failed()) return fileTruncated();

    const bool hasAlpha = (h.flags & kAlpha) != 0;
    const uint32_t startAlpha = hasAlpha ? 0u : 0xFF000000u;
    const Pixel backdrop =
        startAlpha | (rgb(background[0], background[1], background[2]) & 0x00FFFFFFu);
    // Rows run from the bottom up; the colour map turns every pixel,
    // painted or background, into its colour.
    PictureSink::Layout layout;
    layout.orientation = Orientation::MirroredTopBottom;
    layout.storedWidth = h.width;
    layout.storedHeight = h.height;
    layout.fill = backdrop;
    applyColourMap(h, map, std::span<Pixel>(&layout.fill, 1));
    auto sink = PictureSink::open(request.target, layout);
    if (!sink) return sink.error();
    RowAssembler rows(*sink, h.width, h.height, backdrop,
                      [&](std::span<Pixel> row) { applyColourMap(h, map, row); });
    Painter painter(rows, h.width, h.height, hasAlpha, std::min(h.colours, 3));
    // The header came from the file's beginning; the codes come from the file.
    const RequestFile file(request);
    SourceReader codes(*file, in.position());
    if (!paint(codes, painter, *request.work)) {
        if (request.work->stopped()) return request.work->stopError();
        if (painter.overpainted())
            return invalidFile(kFormat, "the picture is painted over and over");
        return codes.failure();
    }
    rows.finish();
    Image image = sink->take();
    image.sourceBits = h.colours >= 3 ? 24 : 8;
    return image;
}

std::unique_ptr<Decoder> makeUtahRleDecoder() {
    return std::make_unique<UtahRleDecoder>();
}

}  // namespace pictavo::imaging
