#pragma once
// The slide's picture decoder and converter: what the saver asks of an
// image-format control. It loads a file from its bytes (sniffing the format
// by content), reports size and colour count, reduces colours with
// dithering and re-renders at an output size. Everything stays in memory.

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "imaging/decoder.h"
#include "imaging/image.h"

namespace pictavo::imaging {

class PostScriptRenderer;

class Codec {
  public:
    // platformDecoders come from the host (JPEG, PNG, TIFF through system
    // libraries); the codec adds the decoders of our own for the other formats.
    // postScript draws EPS files where the platform has an interpreter;
    // without one they show their embedded preview.
    explicit Codec(DecoderList platformDecoders,
                   std::shared_ptr<const PostScriptRenderer> postScript = nullptr);
    // The EPS decoder keeps a pointer to the decoder list for its previews.
    Codec(const Codec&) = delete;
    Codec& operator=(const Codec&) = delete;

    // Decodes bytes; fileName is only a hint. target says what the caller
    // will show (imaging/target.h): the whole picture, or the picture
    // scaled to a screen or a box, or a screen's window of it, delivered
    // directly in the memory of what is shown.
    // On failure the previous image stays and the error says why
    // ("unsupported format", "file is truncated", "picture too large: 40000 x 40000").
    // Transparent parts come out as if laid on black, the slide's background.
    // work, when given, is the decode's allowance and cancel flag: a
    // cancelled decode fails with "decoding cancelled".
    Result<void> load(std::span<const uint8_t> bytes, std::string_view fileName,
                      const Target& target = {}, std::shared_ptr<WorkMeter> work = nullptr);
    // The same from a file read a piece at a time: a big file is read whole
    // only for a decoder that cannot work from pieces (a drawing's).
    Result<void> load(const ByteSource& file, std::string_view fileName, const Target& target = {},
                      std::shared_ptr<WorkMeter> work = nullptr);

    // The whole picture's size, whatever part of it was decoded.
    int width() const;
    int height() const;
    // Where the decoded pixels lie in the whole picture (0, 0 unless only a
    // centred window was decoded).
    int originX() const;
    int originY() const;
    // 2 to the power of the picture's bits per pixel, at most 16777216; 0
    // before the first picture.
    int64_t colourCount() const;

    // The number of colours the display shows; the host sets it from the
    // screen's depth. True colour until told otherwise.
    void setTargetColourCount(int64_t count);
    int64_t targetColourCount() const;

    // Dithering used by the next reduction: 3 = error diffusion, anything
    // else maps each pixel to its nearest colour.
    void setDither(int option);
    // Prepares a reduction to count colours (2 to 256); apply() makes it
    // current. fitted: a palette chosen for this picture; otherwise 16 means
    // the standard 16 colours and 256 a fixed palette (other counts are
    // always fitted). keepStandard16: a fitted palette of more than 16
    // colours still holds the standard 16. Other counts prepare nothing.
    void reduceColours(int count, bool keepStandard16, bool fitted);
    void apply();

    // Re-renders the current image at the output size with a good filter.
    // A reduced picture is mapped back onto its palette afterwards.
    Result<void> render(int outputWidth, int outputHeight);

    const Image& image() const;
    // Hands the current image over; the codec holds no picture afterwards.
    Image takeImage();

  private:
    Result<void> take(Result<Image> decoded);

    struct Reduction {
        int count = 0;  // 0: none prepared
        bool keepStandard16 = false;
        bool fitted = false;
    };

    DecoderList decoders_;
    Image image_;
    std::vector<Pixel> palette_;  // the palette of the last reduction; empty for true colour
    int64_t targetColours_ = 16777216;
    int dither_ = 0;
    Reduction pending_;
};

}  // namespace pictavo::imaging
