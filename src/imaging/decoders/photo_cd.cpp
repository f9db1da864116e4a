#include "imaging/decoders/photo_cd.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "imaging/orientation.h"
#include "imaging/picture_sink.h"

namespace pictavo::imaging {

namespace {

constexpr size_t sectorBytes = 2048;
constexpr size_t signatureOffset = 2048;
constexpr char signature[] = {'P', 'C', 'D', '_', 'I', 'P', 'I'};
constexpr size_t rotationOffset = 0x0E02;

struct Resolution {
    int width;
    int height;
    size_t sector;
};

// Smallest first. Between them lie sectors of other data.
constexpr std::array<Resolution, 3> resolutions = {{
    {192, 128, 4},   // Base/16
    {384, 256, 23},  // Base/4
    {768, 512, 96},  // Base
}};
constexpr Resolution base = resolutions.back();

size_t pictureBytes(const Resolution& r) {
    return static_cast<size_t>(r.width) * static_cast<size_t>(r.height) * 3 / 2;
}

// The pack stores every picture landscape; two bits say how to turn it.
Orientation packOrientation(std::span<const uint8_t> bytes) {
    switch (bytes[rotationOffset] & 3) {
        case 1:
            return Orientation::NeedsAnticlockwiseTurn;
        case 2:
            return Orientation::Rotated180;
        case 3:
            return Orientation::NeedsClockwiseTurn;
        default:
            return Orientation::Upright;
    }
}

// The smallest resolution that still covers the target in both directions.
Resolution chooseResolution(const DecodeRequest& request, Orientation orientation) {
    const bool swap = swapsSides(orientation);
    const PixelSize cover =
        coverSize(request.target, swap ? base.height : base.width, swap ? base.width : base.height);
    if (cover.width <= 0 || cover.height <= 0) return base;
    for (const Resolution& r : resolutions) {
        const int w = swap ? r.height : r.width;
        const int h = swap ? r.width : r.height;
        if (w >= cover.width && h >= cover.height) return r;
    }
    return base;
}

// Chroma comes at half resolution in both directions, sampled at the even
// rows and columns; the odd ones lie halfway between two samples.
std::vector<uint8_t> upsample(const std::vector<uint8_t>& half, int width, int height) {
    const int hw = width / 2;
    const int hh = height / 2;
    auto at = [&](int x, int y) -> int {
        return half[static_cast<size_t>(std::min(y, hh - 1)) * hw + std::min(x, hw - 1)];
    };
    std::vector<uint8_t> full(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int x0 = x / 2, y0 = y / 2;
            const int x1 = x0 + (x & 1), y1 = y0 + (y & 1);
            const int sum = at(x0, y0) + at(x1, y0) + at(x0, y1) + at(x1, y1);
            full[static_cast<size_t>(y) * width + x] = static_cast<uint8_t>((sum + 2) / 4);
        }
    }
    return full;
}

uint8_t clampToByte(double value) {
    return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

// Kodak's PhotoYCC: luma scaled by 1.3584, chroma centred on 156 and 137.
Pixel photoYccToRgb(int y, int c1, int c2) {
    const double luma = 1.3584 * y;
    const double blue = 2.2179 * (c1 - 156);
    const double red = 1.8215 * (c2 - 137);
    return rgb(clampToByte(luma + red), clampToByte(luma - 0.194 * blue - 0.509 * red),
               clampToByte(luma + blue));
}

// Two rows of luma, then one row each of the two chroma channels, for every
// pair of picture rows.
struct PlanarYcc {
    std::vector<uint8_t> luma;
    std::vector<uint8_t> c1;
    std::vector<uint8_t> c2;
};

PlanarYcc splitPlanes(const uint8_t* data, int width, int height) {
    const size_t w = static_cast<size_t>(width);
    PlanarYcc planes;
    planes.luma.resize(w * static_cast<size_t>(height));
    std::vector<uint8_t> c1(w / 2 * static_cast<size_t>(height / 2));
    std::vector<uint8_t> c2(c1.size());
    for (size_t pair = 0; pair < static_cast<size_t>(height / 2); ++pair) {
        const uint8_t* block = data + pair * w * 3;
        std::memcpy(&planes.luma[pair * 2 * w], block, 2 * w);
        std::memcpy(&c1[pair * w / 2], block + 2 * w, w / 2);
        std::memcpy(&c2[pair * w / 2], block + 2 * w + w / 2, w / 2);
    }
    planes.c1 = upsample(c1, width, height);
    planes.c2 = upsample(c2, width, height);
    return planes;
}

class PhotoCdDecoder final : public Decoder {
  public:
    std::string_view name() const override { return "Photo CD"; }

    Confidence sniff(std::span<const uint8_t> bytes, std::string_view) const override {
        if (bytes.size() < signatureOffset + sizeof signature) return Confidence::None;
        return std::memcmp(bytes.data() + signatureOffset, signature, sizeof signature) == 0
                   ? Confidence::Strong
                   : Confidence::None;
    }

    Result<Image> decode(const DecodeRequest& request) const override {
        const auto bytes = request.bytes;
        if (sniff(bytes, request.fileName) == Confidence::None)
            return makeError("not a Photo CD image");
        if (bytes.size() <= rotationOffset) return makeError("file is truncated");
        const Orientation orientation = packOrientation(bytes);
        const Resolution r = chooseResolution(request, orientation);
        const size_t offset = r.sector * sectorBytes;
        if (bytes.size() < offset || bytes.size() - offset < pictureBytes(r)) {
            return makeError("file is truncated");
        }

        const PlanarYcc planes = splitPlanes(bytes.data() + offset, r.width, r.height);
        PictureSink::Layout layout;
        layout.orientation = orientation;
        layout.storedWidth = r.width;
        layout.storedHeight = r.height;
        layout.fullWidth = swapsSides(orientation) ? base.height : base.width;
        layout.fullHeight = swapsSides(orientation) ? base.width : base.height;
        auto sink = PictureSink::open(request.target, layout);
        if (!sink) return sink.error();
        std::vector<Pixel> row(static_cast<size_t>(r.width));
        for (int y = 0; y < r.height; ++y) {
            if (request.work->stopped()) return request.work->stopError();
            const size_t start = static_cast<size_t>(y) * static_cast<size_t>(r.width);
            for (size_t x = 0; x < row.size(); ++x) {
                row[x] = photoYccToRgb(planes.luma[start + x], planes.c1[start + x],
                                       planes.c2[start + x]);
            }
            sink->writeRow(y, 0, row);
        }
        return sink->take();
    }
};

}  // namespace

std::unique_ptr<Decoder> makePhotoCdDecoder() {
    return std::make_unique<PhotoCdDecoder>();
}

}  // namespace pictavo::imaging
