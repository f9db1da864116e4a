#include "slideshow/picture_preparation.h"

#include <algorithm>
#include <utility>

#include "imaging/picture_decoding.h"
#include "imaging/resample.h"

namespace pictavo::slideshow {

namespace {
constexpr imaging::Dither kDither = imaging::Dither::ErrorDiffusion;

bool sameSize(int width, int height, const PictureOrder& order) {
    return width == order.width && height == order.height;
}

// The decoder delivers the picture at the size it is shown; one that
// cannot (a stand-in, say) is re-rendered here, a reduced picture mapped
// back onto its palette. On a failure the image stays as it was.
Result<void> shownAt(imaging::Image& image, int width, int height,
                     const std::optional<imaging::Palette>& palette) {
    if (image.width == width && image.height == height) return {};
    auto rendered = imaging::resample(image, width, height);
    if (!rendered) return rendered.error();
    rendered->sourceBits = image.sourceBits;
    image = palette ? imaging::reduceColours(std::move(*rendered), *palette, kDither)
                    : std::move(*rendered);
    return {};
}

Result<imaging::Image> decodeFile(const imaging::DecoderList& decoders,
                                  const platform::FileSystem& files, const PictureOrder& order,
                                  std::shared_ptr<imaging::WorkMeter> work) {
    auto file = files.openFile(order.path);
    if (!file) return file.error();
    return imaging::decodePicture({.decoders = decoders,
                                   .fileName = order.name,
                                   .file = file->get(),
                                   .target = decodeTarget(order),
                                   .work = std::move(work)});
}
}  // namespace

std::optional<imaging::Palette> displayPalette(const imaging::Image& image, int64_t targetColours) {
    if (imaging::colourCount(image) <= targetColours) return std::nullopt;
    if (targetColours == 16) return imaging::reductionPalette(image, 16, false, false);
    if (targetColours == 256) return imaging::reductionPalette(image, 256, false, true);
    return std::nullopt;
}

imaging::Target decodeTarget(const PictureOrder& order) {
    if (order.fit == PictureOrder::Fit::Box) return imaging::Target::box(order.width, order.height);
    if (order.stretch) return imaging::Target::stretch(order.stagedWidth, order.stagedHeight);
    return imaging::Target::centre(order.width, order.height);
}

PreparedPicture preparePicture(const imaging::DecoderList& decoders,
                               const platform::FileSystem& files, const PictureOrder& order,
                               std::shared_ptr<imaging::WorkMeter> work) {
    PreparedPicture prepared;
    prepared.order = order;
    // Looked at before the read: a change after it shows as a new stamp.
    if (auto stamp = files.stamp(order.path)) prepared.stamp = *stamp;
    // Looking at a file on a slow or hung file system may take long: what
    // nobody wants by now is not read.
    if (work && work->stopped()) {
        prepared.loaded = work->stopError();
        return prepared;
    }
    auto decoded = decodeFile(decoders, files, order, std::move(work));
    if (!decoded) {
        prepared.loaded = decoded.error();
        return prepared;
    }
    imaging::Image image = std::move(decoded).value();
    const auto palette = displayPalette(image, order.targetColours);
    if (palette) image = imaging::reduceColours(std::move(image), *palette, kDither);
    const int width = image.pictureWidth();
    const int height = image.pictureHeight();
    prepared.pictureWidth = width;
    prepared.pictureHeight = height;
    prepared.originX = image.originX;
    prepared.originY = image.originY;
    if (order.fit == PictureOrder::Fit::Box) {
        if (auto fitted = imaging::fitIntoBox(width, height, order.width, order.height))
            prepared.rendered = shownAt(image, fitted->width, fitted->height, palette);
        else
            prepared.rendered = makeError("nothing to show the picture in");
    } else if (order.stretch && !sameSize(width, height, order)) {
        prepared.rendered = shownAt(image, order.stagedWidth, order.stagedHeight, palette);
    }
    prepared.image = std::move(image);
    return prepared;
}

}  // namespace pictavo::slideshow
