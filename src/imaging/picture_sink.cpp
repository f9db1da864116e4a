#include "imaging/picture_sink.h"

#include <algorithm>
#include <new>

#include "imaging/alpha.h"
#include "imaging/limits.h"
#include "imaging/piece_scaler.h"
#include "imaging/row_scaler.h"

namespace pictavo::imaging {

namespace {

constexpr Pixel kOpaque = 0xFF000000u;

Pixel laidOnBlack(Pixel p) {
    layOnBlack(std::span<Pixel>(&p, 1));
    return p;
}

bool anyAlpha(std::span<const Pixel> pixels) {
    return std::any_of(pixels.begin(), pixels.end(), [](Pixel p) { return (p >> 24) != 0; });
}

}  // namespace

PictureSink::PictureSink(PictureSink&&) noexcept = default;
PictureSink& PictureSink::operator=(PictureSink&&) noexcept = default;
PictureSink::~PictureSink() = default;

Result<PictureSink> PictureSink::open(const Target& target, const Layout& layout) {
    const bool swap = swapsSides(layout.orientation);
    const PixelSize stored{swap ? layout.storedHeight : layout.storedWidth,
                           swap ? layout.storedWidth : layout.storedHeight};
    PictureSink sink;
    sink.layout_ = layout;
    sink.full_ = layout.fullWidth > 0 ? PixelSize{layout.fullWidth, layout.fullHeight} : stored;
    if (auto fits = checkPictureSize(target, sink.full_.width, sink.full_.height); !fits)
        return fits.error();
    const PixelSize output = deliveredSize(target, sink.full_.width, sink.full_.height);
    try {
        if (target.given() && target.fit == Fit::Centre) {
            sink.writer_.emplace(
                layout.orientation, layout.storedWidth, layout.storedHeight,
                centredWindow(stored.width, stored.height, target.width, target.height),
                layout.fill);
        } else if (target.scales() && target.fit != Fit::AtLeast && !(output == stored)) {
            if (auto fits = checkStagedSize(output.width, output.height); !fits)
                return fits.error();
            if (layout.arrival == Arrival::Pieces) {
                sink.pieces_ =
                    std::make_unique<PieceScaler>(layout.orientation, layout.storedWidth,
                                                  layout.storedHeight, output.width, output.height);
            } else {
                auto scaler = [&] {
                    return std::make_unique<RowScaler>(layout.orientation, layout.storedWidth,
                                                       layout.storedHeight, output.width,
                                                       output.height);
                };
                sink.rows_ = scaler();
                if (layout.alpha == Alpha::OpaqueIfAllZero) sink.opaqueRows_ = scaler();
            }
        } else {
            if (auto fits = checkPictureSize(target, stored.width, stored.height); !fits)
                return fits.error();
            sink.writer_.emplace(layout.orientation, layout.storedWidth, layout.storedHeight,
                                 Rect{0, 0, stored.width, stored.height}, layout.fill);
        }
    } catch (const std::bad_alloc&) {
        return makeError("not enough memory");
    }
    return sink;
}

Rect PictureSink::storedWindow() const {
    if (writer_) return writer_->storedWindow();
    return Rect{0, 0, layout_.storedWidth, layout_.storedHeight};
}

Pixel* PictureSink::directRow(int storedY) {
    return writer_ ? writer_->directRow(storedY) : nullptr;
}

void PictureSink::writeRow(int storedY, int storedX, std::span<const Pixel> pixels, int step) {
    if (writer_) {
        writer_->writeRow(storedY, storedX, pixels, step);
    } else if (pieces_) {
        laid_.assign(pixels.begin(), pixels.end());
        layOnBlack(laid_);
        pieces_->addPiece(storedY, storedX, laid_, step);
    } else if (storedX == 0 && step == 1 &&
               pixels.size() == static_cast<size_t>(layout_.storedWidth)) {
        scaleRow(storedY, pixels);
    }
}

// Scaled rows are laid on black first, as the whole picture would be.
void PictureSink::scaleRow(int storedY, std::span<const Pixel> pixels) {
    if (layout_.opaque) {
        rows_->addRow(storedY, pixels.data());
        return;
    }
    laid_.assign(pixels.begin(), pixels.end());
    if (opaqueRows_) {
        if (!anyAlpha(laid_)) {
            for (Pixel& p : laid_) p |= kOpaque;
            opaqueRows_->addRow(storedY, laid_.data());
            rows_->addFlatRow(storedY, kOpaque);  // transparent on black
            return;
        }
        opaqueRows_.reset();
    }
    layOnBlack(laid_);
    rows_->addRow(storedY, laid_.data());
}

void PictureSink::fillRows(int storedY, int count) {
    if (!rows_) return;
    if (opaqueRows_ && (layout_.fill >> 24) != 0) opaqueRows_.reset();
    const int end = std::min(storedY + std::max(count, 0), layout_.storedHeight);
    for (int y = std::max(storedY, 0); y < end; ++y) {
        if (opaqueRows_) opaqueRows_->addFlatRow(y, layout_.fill | kOpaque);
        rows_->addFlatRow(y, laidOnBlack(layout_.fill));
    }
}

Image PictureSink::take() {
    Image image;
    if (writer_) {
        image = writer_->take();
        if (layout_.alpha == Alpha::OpaqueIfAllZero) opaqueIfAlphaIsAllZero(image);
    } else if (opaqueRows_) {
        image = opaqueRows_->finish(layout_.fill | kOpaque);
    } else if (rows_) {
        image = rows_->finish(laidOnBlack(layout_.fill));
    } else if (pieces_) {
        image = pieces_->finish();
    }
    if (image.width != full_.width || image.height != full_.height) {
        image.fullWidth = full_.width;
        image.fullHeight = full_.height;
    }
    return image;
}

RowAssembler::RowAssembler(PictureSink& sink, int width, int height, Pixel fill,
                           std::function<void(std::span<Pixel>)> finishing)
    : sink_(sink),
      height_(height),
      fill_(fill),
      finishing_(std::move(finishing)),
      row_(static_cast<size_t>(width), fill) {}

void RowAssembler::moveTo(int storedY) {
    if (storedY <= y_ || y_ >= height_) return;
    if (painted_) {
        if (finishing_) finishing_(row_);
        sink_.writeRow(y_, 0, row_);
        std::fill(row_.begin(), row_.end(), fill_);
        painted_ = false;
    } else {
        sink_.fillRows(y_, 1);
    }
    sink_.fillRows(y_ + 1, std::min(storedY, height_) - y_ - 1);
    y_ = std::min(storedY, height_);
}

}  // namespace pictavo::imaging
