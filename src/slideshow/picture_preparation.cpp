#include "slideshow/picture_preparation.h"

#include <algorithm>

namespace pictavo::slideshow {

namespace {
constexpr int kDitherErrorDiffusion = 3;

bool sameSize(int width, int height, const PictureOrder& order) {
    return width == order.width && height == order.height;
}
}  // namespace

void fitColours(imaging::Codec& codec) {
    int64_t target = codec.targetColourCount();
    if (codec.colourCount() <= target) return;
    codec.setDither(kDitherErrorDiffusion);
    if (target == 16) codec.reduceColours(16, false, false);
    if (target == 256) codec.reduceColours(256, false, true);
    codec.apply();
}

std::optional<FittedSize> fitIntoBox(int width, int height, int boxWidth, int boxHeight) {
    if (boxWidth <= 0 || boxHeight <= 0 || width <= 0 || height <= 0) return std::nullopt;
    double scale =
        std::min(static_cast<double>(boxWidth) / width, static_cast<double>(boxHeight) / height);
    return FittedSize{std::max(1, static_cast<int>(width * scale)),
                      std::max(1, static_cast<int>(height * scale))};
}

PreparedPicture preparePicture(imaging::Codec& codec, const platform::FileSystem& files,
                               const PictureOrder& order,
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
    codec.setTargetColourCount(order.targetColours);
    {
        auto file = files.openFile(order.path);
        if (!file) {
            prepared.loaded = file.error();
            return prepared;
        }
        // A stretched slide and a box are shown at about their size, so the
        // decoder may skip detail below it; a centred slide keeps every
        // pixel but shows only what fits on the screen, so the decoder may
        // leave out the rest.
        const bool centred = order.fit == PictureOrder::Fit::Screen && !order.stretch;
        prepared.loaded =
            codec.load(**file, order.name, order.width, order.height, centred, std::move(work));

        if (!prepared.loaded) return prepared;
    }
    fitColours(codec);
    prepared.pictureWidth = codec.width();
    prepared.pictureHeight = codec.height();
    prepared.originX = codec.originX();
    prepared.originY = codec.originY();
    if (order.fit == PictureOrder::Fit::Box) {
        if (auto fitted = fitIntoBox(codec.width(), codec.height(), order.width, order.height))
            prepared.rendered = codec.render(fitted->width, fitted->height);
        else
            prepared.rendered = makeError("nothing to show the picture in");
    } else if (order.stretch && !sameSize(codec.width(), codec.height(), order)) {
        prepared.rendered = codec.render(order.stagedWidth, order.stagedHeight);
    }
    prepared.image = codec.takeImage();
    return prepared;
}

}  // namespace pictavo::slideshow
