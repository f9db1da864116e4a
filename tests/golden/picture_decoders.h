#pragma once
// The Linux build's decoders, in the order its codec asks them, with the
// labels the golden keys give them: those that hand the work to a system
// library name it, since another version of it may make other pixels. EPS
// files show their previews, as in the Windows build: Ghostscript's drawings
// are its own pixels, change with its version and take a second each.

#include <string>
#include <string_view>

#include "common/result.h"
#include "imaging/decoder.h"

namespace pictavo::golden {

class PictureDecoders {
  public:
    PictureDecoders();
    // The EPS decoder keeps a pointer to the list for its previews.
    PictureDecoders(const PictureDecoders&) = delete;
    PictureDecoders& operator=(const PictureDecoders&) = delete;

    const imaging::DecoderList& list() const { return list_; }
    // The decoder of that name (Decoder::name()); nullptr when none.
    const imaging::Decoder* named(std::string_view name) const;
    // "JPEG(libjpeg)", "TIFF(libtiff)", "EPS(preview)", "Utah-RLE"...
    std::string label(const imaging::Decoder& decoder) const;

  private:
    imaging::DecoderList list_;
};

// The golden value of a decode: the pixel hash, or "failed".
std::string decodedValue(const Result<imaging::Image>& decoded);

}  // namespace pictavo::golden
