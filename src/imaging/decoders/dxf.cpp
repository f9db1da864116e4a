#include "imaging/decoders/dxf.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "imaging/decoders/dxf_drawing.h"
#include "imaging/decoders/dxf_groups.h"
#include "imaging/decoders/dxf_render.h"
#include "imaging/errors.h"
#include "imaging/vector/picture_size.h"

namespace pictavo::imaging {

namespace {

// Room around the drawing so that lines on its edge are not cut in half.
constexpr double kMarginShare = 0.02;

// A text drawing starts with group code 0 and "SECTION", perhaps after
// comments (code 999) and blank space.
bool looksLikeTextDxf(std::span<const uint8_t> bytes) {
    const std::string_view head(reinterpret_cast<const char*>(bytes.data()),
                                std::min<size_t>(bytes.size(), 4096));
    size_t at = 0;
    auto nextLine = [&]() {
        const size_t end = head.find('\n', at);
        std::string_view line =
            head.substr(at, end == std::string_view::npos ? head.size() - at : end - at);
        at = end == std::string_view::npos ? head.size() : end + 1;
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.front())))
            line.remove_prefix(1);
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
            line.remove_suffix(1);
        return line;
    };
    if (head.starts_with("\xEF\xBB\xBF")) at = 3;
    while (at < head.size()) {
        const std::string_view code = nextLine();
        const std::string_view value = nextLine();
        if (code == "999") continue;
        return code == "0" && value == "SECTION";
    }
    return false;
}

class DxfDecoder final : public Decoder {
  public:
    std::string_view name() const override { return "DXF"; }

    Confidence sniff(std::span<const uint8_t> bytes, std::string_view) const override {
        if (dxf::GroupReader::isBinary(bytes)) return Confidence::Strong;
        return looksLikeTextDxf(bytes) ? Confidence::Strong : Confidence::None;
    }

    bool readsInPieces() const override { return true; }

    Result<Image> decode(const DecodeRequest& request) const override {
        return decodeDxf(*RequestFile(request), request.target, *request.work);
    }
};

}  // namespace

std::unique_ptr<Decoder> makeDxfDecoder() {
    return std::make_unique<DxfDecoder>();
}

Result<Image> decodeDxf(std::span<const uint8_t> bytes, int targetWidth, int targetHeight) {
    WorkMeter work;
    return decodeDxf(bytes, targetWidth, targetHeight, work);
}

Result<Image> decodeDxf(std::span<const uint8_t> bytes, int targetWidth, int targetHeight,
                        WorkMeter& work) {
    return decodeDxf(MemorySource(bytes), targetWidth, targetHeight, work);
}

Result<Image> decodeDxf(const ByteSource& file, int targetWidth, int targetHeight,
                        WorkMeter& work) {
    return decodeDxf(file, Target::atLeast(targetWidth, targetHeight), work);
}

Result<Image> decodeDxf(const ByteSource& file, const Target& target, WorkMeter& work) {
    auto drawing = dxf::readDrawing(file, work);
    if (work.stopped()) return work.stopError();
    if (!drawing) return drawing.error();

    auto measured = dxf::measureDrawing(*drawing, work);
    if (!measured) return measured.error();
    dxf::Extents extents = measured->valid() ? *measured : drawing->headerExtents;
    if (!extents.valid()) return invalidFile("DXF", "nothing to draw");

    double width = extents.maxX - extents.minX;
    double height = extents.maxY - extents.minY;
    const double margin = std::max({width, height, 1e-9}) * kMarginShare;
    width += 2 * margin;
    height += 2 * margin;
    const vector::PixelSize size = vector::fitToTarget(width, height, target.width, target.height);
    const Pixel background = dxf::chooseBackground(*drawing);
    auto view = vector::planCanvas(size, target);
    if (!view) return view.error();
    auto image = vector::blankCanvas(*view, background);
    if (!image) return image.error();

    // World y grows upwards, the picture's downwards.
    const double scale = std::min(size.width / width, size.height / height);
    const double left = extents.minX - margin - (size.width / scale - width) / 2;
    const double top = extents.maxY + margin + (size.height / scale - height) / 2;
    const vector::Transform toDevice{scale, 0, 0, -scale, -left * scale, top * scale};
    vector::PathPainter canvas(*image, work, *view);
    if (auto drawn = dxf::drawDrawing(*drawing, background, toDevice, canvas); !drawn) {
        return drawn.error();
    }
    return vector::drawnPicture(std::move(*image), *view);
}

}  // namespace pictavo::imaging
