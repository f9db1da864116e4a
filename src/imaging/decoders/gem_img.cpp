#include "imaging/decoders/gem_img.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "imaging/limits.h"
#include "imaging/picture_sink.h"
#include "imaging/source_reader.h"

namespace pictavo::imaging {

namespace {

// The header is big-endian 16-bit words.
struct GemHeader {
    int version = 0;
    int headerWords = 0;
    int planes = 0;
    int patternLength = 0;
    int width = 0;
    int height = 0;
};

constexpr size_t basicHeaderBytes = 16;
constexpr int maxPlanes = 8;

int wordAt(std::span<const uint8_t> bytes, size_t index) {
    return (bytes[2 * index] << 8) | bytes[2 * index + 1];
}

bool readHeader(std::span<const uint8_t> bytes, GemHeader& header) {
    if (bytes.size() < basicHeaderBytes) return false;
    header.version = wordAt(bytes, 0);
    header.headerWords = wordAt(bytes, 1);
    header.planes = wordAt(bytes, 2);
    header.patternLength = wordAt(bytes, 3);
    header.width = wordAt(bytes, 6);
    header.height = wordAt(bytes, 7);
    return true;
}

bool plausible(const GemHeader& h, uint64_t fileSize) {
    return (h.version == 1 || h.version == 2) && h.headerWords >= 8 &&
           static_cast<size_t>(h.headerWords) * 2 <= fileSize && h.planes >= 1 && h.planes <= 32 &&
           h.patternLength <= 8 && h.width > 0 && h.height > 0;
}

bool hasXimgTable(std::span<const uint8_t> bytes, const GemHeader& h) {
    return h.headerWords >= 11 && std::memcmp(bytes.data() + 16, "XIMG", 4) == 0 &&
           wordAt(bytes, 10) == 0;  // colour model 0: RGB in thousandths
}

// The colours GEM shows planes in when the file brings none, by pixel value
// (the screen's own order, not the VDI pen order).
constexpr std::array<Pixel, 16> defaultSixteen = {
    rgb(255, 255, 255), rgb(255, 0, 0),   rgb(0, 255, 0),   rgb(255, 255, 0),
    rgb(0, 0, 255),     rgb(255, 0, 255), rgb(0, 255, 255), rgb(170, 170, 170),
    rgb(85, 85, 85),    rgb(170, 0, 0),   rgb(0, 170, 0),   rgb(170, 170, 0),
    rgb(0, 0, 170),     rgb(170, 0, 170), rgb(0, 170, 170), rgb(0, 0, 0),
};

std::vector<Pixel> defaultPalette(int planes) {
    const size_t count = size_t{1} << planes;
    std::vector<Pixel> palette(count);
    if (planes == 1) {
        palette = {rgb(255, 255, 255), rgb(0, 0, 0)};  // set bits are ink
    } else if (planes <= 4) {
        std::copy_n(defaultSixteen.begin(), count, palette.begin());
        palette.back() = rgb(0, 0, 0);  // the highest value is always black
    } else {
        // No standard: a grey ramp from paper white to ink black.
        for (size_t i = 0; i < count; ++i) {
            const auto level = static_cast<uint8_t>(255 - i * 255 / (count - 1));
            palette[i] = rgb(level, level, level);
        }
    }
    return palette;
}

uint8_t thousandthsToByte(int value) {
    return static_cast<uint8_t>((std::clamp(value, 0, 1000) * 255 + 500) / 1000);
}

std::vector<Pixel> ximgPalette(std::span<const uint8_t> bytes, int planes) {
    std::vector<Pixel> palette = defaultPalette(planes);
    const int headerWords = wordAt(bytes, 1);
    for (size_t i = 0; i < palette.size(); ++i) {
        const size_t word = 11 + 3 * i;
        if (word + 3 > static_cast<size_t>(headerWords)) break;
        palette[i] =
            rgb(thousandthsToByte(wordAt(bytes, word)), thousandthsToByte(wordAt(bytes, word + 1)),
                thousandthsToByte(wordAt(bytes, word + 2)));
    }
    return palette;
}

// Unpacks the run-length coded data into one scan line (all planes) at a
// time. Runs that reach past the end of the line are cut there.
class LineUnpacker {
  public:
    LineUnpacker(const ByteSource& file, uint64_t dataStart, const GemHeader& header,
                 size_t lineBytes)
        : in_(file, dataStart),
          patternLength_(static_cast<size_t>(header.patternLength)),
          line_(lineBytes) {}

    // Fills the next line; repeat is how many times the picture shows it.
    Result<void> next(int& repeat) {
        repeat = 1;
        size_t filled = 0;
        while (filled < line_.size()) {
            const uint8_t code = in_.u8();
            if (in_.failed()) return in_.failure();
            if (code == 0x00) {
                const uint8_t count = in_.u8();
                if (in_.failed()) return in_.failure();
                if (count == 0) {
                    if (!readLineRepeat(repeat)) return in_.failure();
                    continue;
                }
                if (patternLength_ == 0) return makeError("damaged GEM image: pattern of no bytes");
                const auto pattern = in_.take(patternLength_);
                if (in_.failed()) return in_.failure();
                for (int i = 0; i < count; ++i)
                    filled = put(filled, pattern.data(), patternLength_);
            } else if (code == 0x80) {
                const uint8_t count = in_.u8();
                const auto bytes = in_.take(count);
                if (in_.failed()) return in_.failure();
                filled = put(filled, bytes.data(), count);
            } else {
                const uint8_t value = (code & 0x80) ? 0xFF : 0x00;
                const size_t count = std::min<size_t>(code & 0x7F, line_.size() - filled);
                std::fill_n(line_.begin() + static_cast<std::ptrdiff_t>(filled), count, value);
                filled += count;
            }
        }
        return {};
    }

    const std::vector<uint8_t>& line() const { return line_; }

  private:
    // 00 00 FF n: the line that follows is shown n times.
    bool readLineRepeat(int& repeat) {
        in_.u8();  // the flag
        const uint8_t count = in_.u8();
        repeat = std::max<int>(count, 1);
        return !in_.failed();
    }

    size_t put(size_t at, const uint8_t* bytes, size_t count) {
        const size_t n = std::min(count, line_.size() - at);
        if (n > 0) std::memcpy(line_.data() + at, bytes, n);
        return at + n;
    }

    SourceReader in_;
    size_t patternLength_;
    std::vector<uint8_t> line_;
};

// Plane 0 holds the lowest bit of each pixel value.
void planesToPixels(const std::vector<uint8_t>& line, int planes, size_t planeBytes,
                    const std::vector<Pixel>& palette, Pixel* out, int width) {
    for (int x = 0; x < width; ++x) {
        const size_t byte = static_cast<size_t>(x) >> 3;
        const int shift = 7 - (x & 7);
        size_t value = 0;
        for (int p = 0; p < planes; ++p) {
            value |= static_cast<size_t>((line[p * planeBytes + byte] >> shift) & 1) << p;
        }
        out[x] = palette[value];
    }
}

Result<void> checkStream(LineUnpacker unpacker, int height, const WorkMeter& work) {
    for (int y = 0; y < height;) {
        if (work.stopped()) return work.stopError();
        int repeat = 1;
        if (auto line = unpacker.next(repeat); !line) return line;
        y += repeat;
    }
    return {};
}

class GemImgDecoder final : public Decoder {
  public:
    std::string_view name() const override { return "GEM IMG"; }

    Confidence sniff(std::span<const uint8_t> bytes, std::string_view) const override {
        GemHeader header;
        if (!readHeader(bytes, header) || !plausible(header, bytes.size())) return Confidence::None;
        return hasXimgTable(bytes, header) ? Confidence::Strong : Confidence::Weak;
    }

    bool readsInPieces() const override { return true; }

    // The header from the file's beginning, the lines from the file.
    Result<Image> decode(const DecodeRequest& request) const override {
        const auto bytes = request.bytes;
        const RequestFile file(request);
        GemHeader header;
        if (!readHeader(bytes, header)) return makeError("file is truncated");
        if (!plausible(header, file->size())) return makeError("not a GEM image");
        if (header.planes > maxPlanes) {
            return makeError("unsupported GEM image: " + std::to_string(header.planes) + " planes");
        }
        if (auto size = checkPictureSize(request.target, header.width, header.height); !size)
            return size.error();

        const uint64_t data = uint64_t{static_cast<uint32_t>(header.headerWords)} * 2;
        const size_t planeBytes = (static_cast<size_t>(header.width) + 7) / 8;
        const size_t lineBytes = planeBytes * static_cast<size_t>(header.planes);
        // A few bytes can claim a huge picture: read the whole stream before
        // the picture's memory is taken.
        if (auto stream = checkStream(LineUnpacker(*file, data, header, lineBytes), header.height,
                                      *request.work);

            !stream) {
            return stream.error();
        }

        const std::vector<Pixel> palette = hasXimgTable(bytes, header)
                                               ? ximgPalette(bytes, header.planes)
                                               : defaultPalette(header.planes);
        PictureSink::Layout layout;
        layout.storedWidth = header.width;
        layout.storedHeight = header.height;
        auto sink = PictureSink::open(request.target, layout);
        if (!sink) return sink.error();
        LineUnpacker unpacker(*file, data, header, lineBytes);
        std::vector<Pixel> row(static_cast<size_t>(header.width));
        const int end = sink->storedWindow().y + sink->storedWindow().height;
        for (int y = 0; y < end;) {
            if (request.work->stopped()) return request.work->stopError();
            int repeat = 1;
            if (auto line = unpacker.next(repeat); !line) return line.error();
            planesToPixels(unpacker.line(), header.planes, planeBytes, palette, row.data(),
                           header.width);
            for (int i = 0; i < repeat && y < header.height; ++i, ++y) sink->writeRow(y, 0, row);
        }
        Image image = sink->take();
        image.sourceBits = header.planes;
        return image;
    }
};

}  // namespace

std::unique_ptr<Decoder> makeGemImgDecoder() {
    return std::make_unique<GemImgDecoder>();
}

}  // namespace pictavo::imaging
