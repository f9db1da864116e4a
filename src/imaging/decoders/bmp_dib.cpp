#include "imaging/decoders/bmp_dib.h"

#include <limits>
#include <optional>
#include <string>

#include "imaging/byte_source.h"
#include "imaging/decoders/bmp_header.h"
#include "imaging/decoders/bmp_pixels.h"
#include "imaging/work_costs.h"

namespace pictavo::imaging {

namespace {

bool runLength(bmp::Compression compression) {
    return compression == bmp::Compression::Rle4 || compression == bmp::Compression::Rle8 ||
           compression == bmp::Compression::Rle24;
}

// A metafile's bitmap shows what its runs skip in its first colour, where a
// bitmap file leaves it transparent; palette colours are always opaque.
void fillSkipped(Image& image, Pixel background) {
    for (Pixel& pixel : image.pixels) {
        if ((pixel >> 24) == 0) pixel = background;
    }
}

Result<Image> readPixels(std::span<const uint8_t> bytes, const bmp::Header& header,
                         WorkMeter& work) {
    const MemorySource source(bytes);
    if (!runLength(header.compression)) return bmp::readRows(source, header, work);
    auto image = bmp::readRunLengths(source, header, work);
    if (image && !header.palette.empty()) fillSkipped(*image, header.palette.front());
    return image;
}

}  // namespace

Result<Image> decodePackedDib(std::span<const uint8_t> bytes, bool paletteIndices,
                              std::span<const Pixel> logicalPalette, int64_t maxPixels,
                              WorkMeter* work) {
    const bmp::Reading reading{"DIB", paletteIndices, logicalPalette, {}};
    auto header = bmp::readHeader(bytes, 0, std::nullopt, bytes.size(), reading);
    if (!header) return header.error();
    // A metafile draws its bitmaps opaque, whatever a newer header's alpha
    // mask says.
    header->masks[3] = 0;
    const int64_t pixels = header->width * header->height;
    if (pixels > maxPixels) {
        return makeError("picture too large: " + std::to_string(header->width) + " x " +
                         std::to_string(header->height));
    }
    // Without a meter the pixels count against nothing.
    WorkMeter unmetered(nullptr, std::numeric_limits<int64_t>::max());
    WorkMeter& meter = work != nullptr ? *work : unmetered;
    if (!meter.spend(cost::kBitmapPixel * pixels)) return meter.stopError();
    return readPixels(bytes, *header, meter);
}

}  // namespace pictavo::imaging
