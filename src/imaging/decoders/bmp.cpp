#include "imaging/decoders/bmp.h"

#include <array>
#include <optional>

#include "imaging/byte_reader.h"
#include "imaging/decoders/bmp_header.h"
#include "imaging/decoders/bmp_pixels.h"
#include "imaging/errors.h"

namespace pictavo::imaging {

namespace {

class BmpDecoder final : public Decoder {
  public:
    std::string_view name() const override { return "BMP"; }
    Confidence sniff(std::span<const uint8_t> bytes, std::string_view fileName) const override;
    std::span<const std::string_view> extensions() const override;
    bool readsInPieces() const override { return true; }
    Result<Image> decode(const DecodeRequest& request) const override;
};

constexpr size_t kFileHeaderSize = 14;
constexpr std::array<std::string_view, 3> kExtensions = {"bmp", "dib", "rle"};

constexpr size_t kArrayHeaderSize = 14;

bool startsWith(std::span<const uint8_t> bytes, size_t at, const char (&tag)[3]) {
    return bytes.size() >= at + 2 && bytes[at] == tag[0] && bytes[at + 1] == tag[1];
}

bool startsWithBm(std::span<const uint8_t> bytes) {
    return startsWith(bytes, 0, "BM");
}

// OS/2 bitmap arrays hold several versions of one picture, each a whole
// bitmap file after a 14-byte array header; the first one is shown.
bool isBitmapArray(std::span<const uint8_t> bytes) {
    return startsWith(bytes, 0, "BA") && startsWith(bytes, kArrayHeaderSize, "BM");
}

// Where the bitmap's file header starts: 0, or after an array header.
std::optional<size_t> fileHeaderAt(std::span<const uint8_t> bytes) {
    if (startsWithBm(bytes)) return 0;
    if (isBitmapArray(bytes)) return kArrayHeaderSize;
    return std::nullopt;
}

// A DIB without its file header starts straight with the info header; its
// size, plane count and depth together make a fair signature.
bool looksLikeHeaderlessDib(std::span<const uint8_t> bytes) {
    ByteReader in(bytes);
    const uint32_t size = in.u32();
    if (!bmp::knownHeaderSize(size) || size > 124) return false;
    uint16_t planes = 0;
    uint16_t bits = 0;
    if (size == 12) {
        in.skip(4);
    } else {
        in.skip(8);
    }
    planes = in.u16();
    bits = in.u16();
    const bool depthKnown =
        bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    return !in.failed() && planes == 1 && depthKnown;
}

Result<Image> decodePixels(const ByteSource& file, const bmp::Header& header, WorkMeter& work,
                           const Target& target) {
    if (header.compression == bmp::Compression::None ||
        header.compression == bmp::Compression::BitFields) {
        return bmp::readRows(file, header, work, target);
    }
    return bmp::readRunLengths(file, header, work, target);
}

}  // namespace

Confidence BmpDecoder::sniff(std::span<const uint8_t> bytes, std::string_view) const {
    if (const auto at = fileHeaderAt(bytes)) {
        const bool headerKnown =
            bmp::knownHeaderSize(ByteReader(bytes, *at + kFileHeaderSize).u32());
        return headerKnown ? Confidence::Strong : Confidence::Weak;
    }
    return looksLikeHeaderlessDib(bytes) ? Confidence::Weak : Confidence::None;
}

std::span<const std::string_view> BmpDecoder::extensions() const {
    return kExtensions;
}

Result<Image> BmpDecoder::decode(const DecodeRequest& request) const {
    // The headers are at the start, in bytes; the rows are read from the file.
    const auto bytes = request.bytes;
    const RequestFile file(request);
    Result<bmp::Header> header = makeError("");
    bmp::Reading reading;
    reading.target = request.target;
    if (const auto at = fileHeaderAt(bytes)) {
        // The pixel offset counts from the start of the file, array or not.
        ByteReader in(bytes, *at + 10);
        const uint32_t pixelOffset = in.u32();
        if (in.failed()) return fileTruncated();
        header = bmp::readHeader(bytes, *at + kFileHeaderSize, pixelOffset, file->size(), reading);
    } else if (looksLikeHeaderlessDib(bytes)) {
        header = bmp::readHeader(bytes, 0, std::nullopt, file->size(), reading);
    } else {
        return unsupportedFormat();
    }
    if (!header) return header.error();
    return decodePixels(*file, *header, *request.work, request.target);
}

std::unique_ptr<Decoder> makeBmpDecoder() {
    return std::make_unique<BmpDecoder>();
}

}  // namespace pictavo::imaging
