// Feeds arbitrary bytes to the BMP decoder: it must answer with a picture
// or an error, never crash, hang or read out of bounds.

#include "imaging/decoders/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto decoderMade = pictavo::imaging::makeBmpDecoder();
    const pictavo::imaging::Decoder& decoder = *decoderMade;
    const std::span<const uint8_t> bytes(data, size);
    (void)decoder.sniff(bytes, "");
    // Whole, and as the show asks: scaled as the rows come, and a window.
    using pictavo::imaging::Target;
    for (const Target& target : {Target::whole(), Target::stretch(40, 30), Target::centre(40, 30)})
        (void)decoder.decode({bytes, "", target});
    return 0;
}
