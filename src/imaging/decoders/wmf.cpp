#include "imaging/decoders/wmf.h"

#include <cmath>

#include "imaging/byte_reader.h"
#include "imaging/decoders/wmf_player.h"
#include "imaging/errors.h"
#include "imaging/vector/path_painter.h"
#include "imaging/vector/picture_size.h"

namespace pictavo::imaging {

namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableHeaderSize = 22;
constexpr size_t kMetaHeaderSize = 18;

struct Placement {
    int16_t left = 0;
    int16_t top = 0;
    int16_t right = 0;
    int16_t bottom = 0;
    uint16_t unitsPerInch = 0;
};

// The 18-byte header every metafile starts its records with: type 1
// (memory) or 2 (disk), a header of 9 words, version 0x0100 or 0x0300.
bool isMetaHeader(std::span<const uint8_t> bytes, size_t at) {
    ByteReader in(bytes, at);
    const uint16_t type = in.u16();
    const uint16_t words = in.u16();
    const uint16_t version = in.u16();
    return !in.failed() && (type == 1 || type == 2) && words == 9 &&
           (version == 0x0100 || version == 0x0300);
}

class WmfDecoder final : public Decoder {
  public:
    std::string_view name() const override { return "WMF"; }

    Confidence sniff(std::span<const uint8_t> bytes, std::string_view) const override {
        if (ByteReader(bytes).u32() == kPlaceableKey) return Confidence::Strong;
        return isMetaHeader(bytes, 0) ? Confidence::Weak : Confidence::None;
    }

    Result<Image> decode(const DecodeRequest& request) const override {
        return decodeWmf(request.bytes, request.target, *request.work);
    }
};

}  // namespace

std::unique_ptr<Decoder> makeWmfDecoder() {
    return std::make_unique<WmfDecoder>();
}

Result<Image> decodeWmf(std::span<const uint8_t> bytes, int targetWidth, int targetHeight) {
    WorkMeter work;
    return decodeWmf(bytes, targetWidth, targetHeight, work);
}

Result<Image> decodeWmf(std::span<const uint8_t> bytes, int targetWidth, int targetHeight,
                        WorkMeter& work) {
    return decodeWmf(bytes, Target::atLeast(targetWidth, targetHeight), work);
}

Result<Image> decodeWmf(std::span<const uint8_t> bytes, const Target& target, WorkMeter& work) {
    ByteReader in(bytes);
    std::optional<Placement> placement;
    size_t headerAt = 0;
    if (in.u32() == kPlaceableKey) {
        Placement header;
        in.u16();  // handle, always 0 on disk
        header.left = in.i16();
        header.top = in.i16();
        header.right = in.i16();
        header.bottom = in.i16();
        header.unitsPerInch = in.u16();
        if (in.failed()) return fileTruncated();
        placement = header;
        headerAt = kPlaceableHeaderSize;
    }
    if (bytes.size() < headerAt + kMetaHeaderSize) return fileTruncated();
    if (!isMetaHeader(bytes, headerAt)) return invalidFile("WMF", "bad metafile header");
    ByteReader header(bytes, headerAt + 2);
    const size_t headerWords = header.u16();
    const auto records = bytes.subspan(headerAt + headerWords * 2);

    std::optional<wmf::Frame> window;
    vector::PixelSize size;
    const bool measured = placement && placement->unitsPerInch > 0 &&
                          placement->right != placement->left &&
                          placement->bottom != placement->top;
    if (measured) {
        const double width = static_cast<double>(placement->right) - placement->left;
        const double height = static_cast<double>(placement->bottom) - placement->top;
        window = wmf::Frame{static_cast<double>(placement->left),
                            static_cast<double>(placement->top), width, height};
        auto inches = vector::sizeFromInches(width / placement->unitsPerInch,
                                             height / placement->unitsPerInch, target);
        if (!inches) return inches.error();
        size = *inches;
    } else {
        window = wmf::findFrame(records, work);
        if (work.stopped()) return work.stopError();
        if (!window) return invalidFile("WMF", "nothing to draw");
        size = vector::fitToTarget(window->extentX, window->extentY, target.width, target.height);
    }
    auto view = vector::planCanvas(size, target);
    if (!view) return view.error();
    auto image = vector::blankCanvas(*view, rgb(255, 255, 255));
    if (!image) return image.error();
    vector::PathPainter canvas(*image, work, *view);
    if (auto played = wmf::playRecords(records, *window, canvas); !played) return played.error();
    return vector::drawnPicture(std::move(*image), *view);
}

}  // namespace pictavo::imaging
