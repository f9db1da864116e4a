#pragma once
// The slide's picture decoder and converter: what the saver asks of an
// image-format control. It loads a file from its bytes (sniffing the format
// by content), reports size and colour count, reduces colours with
// dithering and re-renders at an output size. Everything stays in memory.

#include <cstdint>
#include <span>
#include <string_view>

#include "common/result.h"
#include "imaging/decoder.h"
#include "imaging/image.h"

namespace pictavo::imaging {

class Codec {
public:
    // platformDecoders come from the host (JPEG, PNG, TIFF through system
    // libraries); the codec adds the decoders of our own for the other formats.
    explicit Codec(DecoderList platformDecoders);

    // Decodes bytes; fileName is only a hint. When targetWidth/Height are
    // given, a decoder may decode at a reduced scale no smaller than them.
    // On failure the previous image stays and the error says why
    // ("unsupported format", "file is truncated", "picture too large: 40000 x 40000").
    Result<void> load(std::span<const uint8_t> bytes, std::string_view fileName, int targetWidth = 0,
                      int targetHeight = 0);

    int width() const;
    int height() const;
    // 2 to the power of the picture's bits per pixel, at most 16777216.
    int64_t colourCount() const;

    // Dithering used by the next reduction: 3 = error diffusion.
    void setDither(int option);
    // Prepares a reduction to count colours (16 or 256); apply() makes it current.
    void reduceColours(int count, bool optionA, bool optionB);
    void apply();

    // Re-renders the current image at the output size with a good filter.
    void render(int outputWidth, int outputHeight);

    const Image& image() const;

private:
    DecoderList decoders_;
    Image image_;
    int dither_ = 0;
    int pendingColours_ = 0;
};

}  // namespace pictavo::imaging
