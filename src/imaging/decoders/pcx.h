#pragma once
// ZSoft PCX: monochrome, 4- and 16-colour planar (EGA), 256-colour and
// 24-bit pictures, run-length encoded.

#include "imaging/decoder.h"

namespace pictavo::imaging {

class PcxDecoder final : public Decoder {
  public:
    std::string_view name() const override { return "PCX"; }
    Confidence sniff(std::span<const uint8_t> bytes, std::string_view fileName) const override;
    std::span<const std::string_view> extensions() const override;
    bool readsInPieces() const override { return true; }
    Result<Image> decode(const DecodeRequest& request) const override;
};

// Decodes one PCX picture, a whole file or a page of a DCX file, a line at
// a time; the 256-colour palette is looked for at the end of the file.
// It stops between lines once work says so.
Result<Image> decodePcx(const ByteSource& file, WorkMeter& work);


}  // namespace pictavo::imaging
