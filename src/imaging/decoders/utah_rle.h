#pragma once
// Utah RLE, the run-length format of the Utah Raster Toolkit: one to three
// colour channels (and alpha), a colour map, bottom row first.

#include "imaging/decoder.h"

namespace pictavo::imaging {

class UtahRleDecoder final : public Decoder {
  public:
    std::string_view name() const override { return "Utah RLE"; }
    Confidence sniff(std::span<const uint8_t> bytes, std::string_view fileName) const override;
    std::span<const std::string_view> extensions() const override;
    bool readsInPieces() const override { return true; }
    Result<Image> decode(const DecodeRequest& request) const override;
};

}  // namespace pictavo::imaging
