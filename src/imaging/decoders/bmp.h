#pragma once
// Windows and OS/2 bitmaps: .bmp files (OS/2 bitmap arrays too), run-length
// .rle files (the same format, compressed) and headerless DIBs as the
// clipboard keeps them.

#include "imaging/decoder.h"

namespace pictavo::imaging {

class BmpDecoder final : public Decoder {
  public:
    std::string_view name() const override { return "BMP"; }
    Confidence sniff(std::span<const uint8_t> bytes, std::string_view fileName) const override;
    std::span<const std::string_view> extensions() const override;
    bool readsInPieces() const override { return true; }
    Result<Image> decode(const DecodeRequest& request) const override;
};

}  // namespace pictavo::imaging
