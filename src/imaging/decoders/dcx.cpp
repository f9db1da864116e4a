#include "imaging/decoders/dcx.h"

#include <array>

#include "imaging/byte_reader.h"
#include "imaging/decoders/pcx.h"
#include "imaging/errors.h"

namespace pictavo::imaging {

namespace {

class DcxDecoder final : public Decoder {
  public:
    std::string_view name() const override { return "DCX"; }
    Confidence sniff(std::span<const uint8_t> bytes, std::string_view fileName) const override;
    std::span<const std::string_view> extensions() const override;
    bool readsInPieces() const override { return true; }
    Result<Image> decode(const DecodeRequest& request) const override;
};

constexpr uint32_t kSignature = 0x3ADE68B1;
constexpr std::array<std::string_view, 1> kExtensions = {"dcx"};

}  // namespace

Confidence DcxDecoder::sniff(std::span<const uint8_t> bytes, std::string_view) const {
    return ByteReader(bytes).u32() == kSignature ? Confidence::Strong : Confidence::None;
}

std::span<const std::string_view> DcxDecoder::extensions() const {
    return kExtensions;
}

Result<Image> DcxDecoder::decode(const DecodeRequest& request) const {
    const RequestFile file(request);
    const uint64_t size = file->size();
    ByteReader in(request.bytes);
    if (in.u32() != kSignature) return unsupportedFormat();
    const uint32_t first = in.u32();
    const uint32_t second = in.u32();
    if (in.failed()) return fileTruncated();
    if (first == 0) return invalidFile("DCX", "no pages");
    if (first < 8) return invalidFile("DCX", "bad page offset");
    if (first >= size) return fileTruncated();
    // The first page ends where the second begins, or with the file.
    const uint64_t end = second > first && second <= size ? second : size;
    return decodePcx(SourceWindow(*file, first, end - first), *request.work, request.target);
}

std::unique_ptr<Decoder> makeDcxDecoder() {
    return std::make_unique<DcxDecoder>();
}

}  // namespace pictavo::imaging
