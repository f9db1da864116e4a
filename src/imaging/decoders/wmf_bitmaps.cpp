// Device-independent bitmaps drawn through the raster operations that
// matter for pictures, and pattern fills.

#include <algorithm>

#include "imaging/decoders/bmp_dib.h"
#include "imaging/decoders/wmf_device.h"
#include "imaging/vector/picture_size.h"

namespace pictavo::imaging::wmf {

namespace {

using vector::Point;

constexpr uint32_t kSrcCopy = 0x00CC0020;
constexpr uint32_t kSrcPaint = 0x00EE0086;
constexpr uint32_t kSrcAnd = 0x008800C6;
constexpr uint32_t kSrcInvert = 0x00660046;
constexpr uint32_t kNotSrcCopy = 0x00330008;
constexpr uint32_t kPatCopy = 0x00F00021;
constexpr uint32_t kBlackness = 0x00000042;
constexpr uint32_t kWhiteness = 0x00FF0062;

// A brush's pattern is at most 256 x 256: bigger bitmaps make no brush.
constexpr int kMaxPatternSide = 256;
constexpr int64_t kMaxPatternPixels = int64_t{kMaxPatternSide} * kMaxPatternSide;

}  // namespace

int64_t Player::bitmapRoom() {
    return vector::bitmapRoom(canvas_.image());
}

std::span<const Pixel> Player::palette() const {
    return state_.palette ? std::span<const Pixel>(*state_.palette) : std::span<const Pixel>{};
}

std::shared_ptr<const vector::Tile> Player::readPattern(std::span<const uint8_t> dib, bool indices,
                                                        int64_t& heldBytes) {
    // The largest pattern is held before it is decoded; what a smaller one
    // does not take is given back.
    heldBytes = kMaxPatternPixels * static_cast<int64_t>(sizeof(Pixel));
    if (!canvas_.work().hold(heldBytes)) return nullptr;
    auto image = decodePackedDib(dib, indices, palette(), kMaxPatternPixels, &canvas_.work());
    const int64_t pixels = image ? int64_t{image->width} * image->height : 0;
    const int64_t unused = heldBytes - pixels * static_cast<int64_t>(sizeof(Pixel));
    canvas_.work().release(unused);
    heldBytes -= unused;
    if (!image || image->width > kMaxPatternSide || image->height > kMaxPatternSide) return nullptr;
    auto tile = std::make_shared<vector::Tile>();
    tile->width = image->width;
    tile->height = image->height;
    tile->pixels = std::move(image->pixels);
    return tile;
}

void Player::blit(std::span<const uint8_t> dib, bool paletteIndices, uint32_t rop, double srcX,
                  double srcY, double srcWidth, double srcHeight, const vector::Rect& destination) {
    auto image = decodePackedDib(dib, paletteIndices, palette(), bitmapRoom(), &canvas_.work());
    if (!image) return;
    Image& source = image.value();
    if (rop == kNotSrcCopy) {
        for (Pixel& pixel : source.pixels) pixel = (~pixel & 0x00FFFFFFu) | 0xFF000000u;
    }
    const vector::BlendOp op = rop == kSrcAnd      ? vector::BlendOp::And
                               : rop == kSrcPaint  ? vector::BlendOp::Or
                               : rop == kSrcInvert ? vector::BlendOp::Xor
                                                   : vector::BlendOp::Copy;
    // Source rows count from the bottom of a bottom-up bitmap.
    const double top = source.height - (srcY + srcHeight);
    canvas_.drawImage(source, {srcX, top, srcX + srcWidth, top + srcHeight}, destination, op);
}

// Destination boxes are given as x, y, width, height in logical units; a
// negative size mirrors the bitmap.
vector::Rect Player::destinationBox(double x, double y, double width, double height) const {
    const Point a = toDevice(x, y);
    const Point b = toDevice(x + width, y + height);
    return {a.x, a.y, b.x, b.y};
}

void Player::patBlt(uint32_t rop, const vector::Rect& box) {
    const vector::Rect sorted{std::min(box.left, box.right), std::min(box.top, box.bottom),
                              std::max(box.left, box.right), std::max(box.top, box.bottom)};
    if (rop == kBlackness) {
        fillDeviceRect(sorted, rgb(0, 0, 0));
    } else if (rop == kWhiteness) {
        fillDeviceRect(sorted, rgb(255, 255, 255));
    } else if (rop == kPatCopy || rop == kSrcCopy) {
        if (auto paint = brushPaint()) fillDeviceRect(sorted, *paint);
    }
}

void Player::patBlt(const Params& p) {
    patBlt(p.u32(0), destinationBox(p.i16(5), p.i16(4), p.i16(3), p.i16(2)));
}

void Player::stretchDib(const Params& p) {
    const uint32_t rop = p.u32(0);
    const bool indices = p.u16(2) == 1;
    const vector::Rect box = destinationBox(p.i16(10), p.i16(9), p.i16(8), p.i16(7));
    blit(p.from(11), indices, rop, p.i16(6), p.i16(5), p.i16(4), p.i16(3), box);
}

void Player::dibStretchBlt(const Params& p) {
    const uint32_t rop = p.u32(0);
    if (p.words() <= 11) {  // no bitmap: a pattern fill
        patBlt(rop, destinationBox(p.i16(10), p.i16(9), p.i16(8), p.i16(7)));
        return;
    }
    const vector::Rect box = destinationBox(p.i16(9), p.i16(8), p.i16(7), p.i16(6));
    blit(p.from(10), false, rop, p.i16(5), p.i16(4), p.i16(3), p.i16(2), box);
}

void Player::dibBitBlt(const Params& p) {
    const uint32_t rop = p.u32(0);
    if (p.words() <= 9) {
        patBlt(rop, destinationBox(p.i16(8), p.i16(7), p.i16(6), p.i16(5)));
        return;
    }
    // Unscaled: the source keeps its size in logical units.
    const double width = p.i16(5);
    const double height = p.i16(4);
    const vector::Rect box = destinationBox(p.i16(7), p.i16(6), width, height);
    blit(p.from(8), false, rop, p.i16(3), p.i16(2), width, height, box);
}

void Player::setDibToDevice(const Params& p) {
    const bool indices = p.u16(0) == 1;
    const double width = p.i16(6);
    const double height = p.i16(5);
    const vector::Rect box = destinationBox(p.i16(8), p.i16(7), width, height);
    blit(p.from(9), indices, kSrcCopy, p.i16(4), p.i16(3), width, height, box);
}

}  // namespace pictavo::imaging::wmf
