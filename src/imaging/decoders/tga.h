#pragma once
// Truevision TGA: colour-mapped, true-colour and grey pictures, raw or
// run-length encoded, stored from the bottom or the top row.

#include "imaging/decoder.h"

namespace pictavo::imaging {

class TgaDecoder final : public Decoder {
  public:
    std::string_view name() const override { return "TGA"; }
    Confidence sniff(std::span<const uint8_t> bytes, std::string_view fileName) const override;
    std::span<const std::string_view> extensions() const override;
    bool readsInPieces() const override { return true; }
    Result<Image> decode(const DecodeRequest& request) const override;
};

}  // namespace pictavo::imaging
