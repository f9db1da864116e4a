#include "imaging/decoders/wpg.h"

#include <optional>
#include <string>

#include "imaging/byte_reader.h"
#include "imaging/decoders/wpg1.h"
#include "imaging/decoders/wpg2.h"
#include "imaging/errors.h"

namespace pictavo::imaging {

namespace {

constexpr uint32_t kSignature = 0x435057FF;  // FF 'W' 'P' 'C'
constexpr uint8_t kGraphicsFile = 0x16;

struct Header {
    uint32_t dataOffset = 16;
    uint8_t majorVersion = 1;
};

std::optional<Header> readHeader(std::span<const uint8_t> bytes) {
    ByteReader in(bytes);
    if (in.u32() != kSignature) return std::nullopt;
    Header header;
    header.dataOffset = in.u32();
    in.u8();  // product
    const uint8_t type = in.u8();
    header.majorVersion = in.u8();
    if (in.failed() || type != kGraphicsFile) return std::nullopt;
    return header;
}

class WpgDecoder final : public Decoder {
  public:
    std::string_view name() const override { return "WPG"; }
    Confidence sniff(std::span<const uint8_t> bytes, std::string_view) const override {
        return readHeader(bytes) ? Confidence::Strong : Confidence::None;
    }
    Result<Image> decode(const DecodeRequest& request) const override {
        return decodeWpg(request.bytes, *request.work, request.target);
    }
};

}  // namespace

std::unique_ptr<Decoder> makeWpgDecoder() {
    return std::make_unique<WpgDecoder>();
}

Result<Image> decodeWpg(std::span<const uint8_t> bytes) {
    WorkMeter work;
    return decodeWpg(bytes, work);
}

Result<Image> decodeWpg(std::span<const uint8_t> bytes, WorkMeter& work, const Target& target) {
    const auto header = readHeader(bytes);
    if (!header) {
        if (bytes.size() < 16 && ByteReader(bytes).u32() == kSignature) return fileTruncated();
        return invalidFile("WPG", "bad header");
    }
    if (header->dataOffset >= bytes.size()) return fileTruncated();
    const auto records = bytes.subspan(header->dataOffset);
    if (header->majorVersion == 2) return wpg::playWpg2(records, work, target);
    if (header->majorVersion == 1) return wpg::playWpg1(records, work, target);
    return unsupportedFeature("WPG", "version " + std::to_string(header->majorVersion));
}

}  // namespace pictavo::imaging
