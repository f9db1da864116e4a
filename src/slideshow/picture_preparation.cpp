#include "slideshow/picture_preparation.h"

#include <algorithm>

namespace pictavo::slideshow {

namespace {
constexpr int kDitherErrorDiffusion = 3;

bool sameSize(int width, int height, const PictureOrder& order) {
    return width == order.width && height == order.height;
}

// The decoder delivers the picture at the size it is shown; one that
// cannot (a stand-in, say) is re-rendered here.
Result<void> shownAt(imaging::Codec& codec, int width, int height) {
    if (codec.image().width == width && codec.image().height == height) return {};
    return codec.render(width, height);
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

imaging::Target decodeTarget(const PictureOrder& order) {
    if (order.fit == PictureOrder::Fit::Box) return imaging::Target::box(order.width, order.height);
    if (order.stretch) return imaging::Target::stretch(order.stagedWidth, order.stagedHeight);
    return imaging::Target::centre(order.width, order.height);
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
        prepared.loaded = codec.load(**file, order.name, decodeTarget(order), std::move(work));

        if (!prepared.loaded) return prepared;
    }
    fitColours(codec);
    prepared.pictureWidth = codec.width();
    prepared.pictureHeight = codec.height();
    prepared.originX = codec.originX();
    prepared.originY = codec.originY();
    if (order.fit == PictureOrder::Fit::Box) {
        if (auto fitted =
                imaging::fitIntoBox(codec.width(), codec.height(), order.width, order.height))
            prepared.rendered = shownAt(codec, fitted->width, fitted->height);
        else
            prepared.rendered = makeError("nothing to show the picture in");
    } else if (order.stretch && !sameSize(codec.width(), codec.height(), order)) {
        prepared.rendered = shownAt(codec, order.stagedWidth, order.stagedHeight);
    }
    prepared.image = codec.takeImage();
    return prepared;
}

}  // namespace pictavo::slideshow
