#pragma once
// DCX: several PCX pages in one file, as fax programs wrote them. The
// slide shows the first page.

#include "imaging/decoder.h"

namespace pictavo::imaging {

class DcxDecoder final : public Decoder {
  public:
    std::string_view name() const override { return "DCX"; }
    Confidence sniff(std::span<const uint8_t> bytes, std::string_view fileName) const override;
    std::span<const std::string_view> extensions() const override;
    bool readsInPieces() const override { return true; }
    Result<Image> decode(const DecodeRequest& request) const override;
};

}  // namespace pictavo::imaging
