#include "slideshow/picture_loader.h"

#include <algorithm>
#include <cstdint>

#include "common/numbers.h"
#include "imaging/resample.h"

namespace pictavo::slideshow {

namespace {

// The staged picture's own picture: the image at its top-left on black.
void assignPicture(platform::Surface& surface, const imaging::Image& image) {
    surface.clear(kStagedBackColour);
    surface.drawImage(image, 0, 0);
}

PlacedSize placedSize(int width, int height) {
    return {static_cast<int16_t>(std::clamp(width, 0, int{INT16_MAX})),
            static_cast<int16_t>(std::clamp(height, 0, int{INT16_MAX}))};
}

}  // namespace

void keepPlacedSize(PlacedSize placed, SaverState& state) {
    state.ImageWidth = placed.width;
    state.ImageHeight = placed.height;
}

PictureOrder slideOrder(const SaverState& state, const platform::Screen& screen,
                        const platform::Surface& picture1, const std::string& name) {
    PictureOrder order;
    order.path = state.PicturePath + name;
    order.name = name;
    order.fit = PictureOrder::Fit::Screen;
    order.width = state.ScreenPixelWidth;
    order.height = state.ScreenPixelHeight;
    order.stretch = state.Stretch != 0;
    order.stagedWidth = picture1.width();
    order.stagedHeight = picture1.height();
    order.targetColours = screen.displayColours();
    return order;
}

Result<PlacedSize> PictureLoader::place(const PreparedPicture& prepared,
                                        platform::Control& picture1,
                                        const SaverState& state) const {
    platform::Surface* staged = picture1.surface();
    if (staged == nullptr) return makeError("the staged picture has no image");

    if (!prepared.loaded) return prepared.loaded.error();
    staged->clear(kStagedBackColour);
    const PlacedSize picture = placedSize(prepared.pictureWidth, prepared.pictureHeight);

    if (picture.width == state.ScreenPixelWidth && picture.height == state.ScreenPixelHeight) {
        assignPicture(*staged, prepared.image);
        return picture;
    }
    fillScreen(picture1);
    if (state.Stretch != 0) {
        if (!prepared.rendered) return makeError("the picture was not rendered for the screen");
        if (!*prepared.rendered) return prepared.rendered->error();
        const imaging::Image& image = prepared.image;
        if (image.width == staged->width() && image.height == staged->height()) {
            assignPicture(*staged, image);
        } else {
            // Rendered for a staged picture of another size: once more, here.
            auto again = imaging::resample(image, staged->width(), staged->height());
            if (!again) return again.error();
            assignPicture(*staged, *again);
        }
        return placedSize(staged->width(), staged->height());
    }
    // Halves round to even: (1024 - 801) / 2 = 111.5 gives 112. A picture
    // larger than the screen gets a negative offset and shows its centre.
    int x = toInt32((state.ScreenPixelWidth - prepared.pictureWidth) / 2.0);
    int y = toInt32((state.ScreenPixelHeight - prepared.pictureHeight) / 2.0);
    // Only the window that shows may have been decoded; it goes where it
    // lies in the whole picture.
    staged->drawImage(prepared.image, x + prepared.originX, y + prepared.originY);
    return picture;
}

Result<PlacedSize> PictureLoader::place(const imaging::DecoderList& decoders,
                                        const platform::FileSystem& files, const std::string& name,
                                        platform::Control& picture1,
                                        const SaverState& state) const {
    platform::Surface* staged = picture1.surface();
    if (staged == nullptr) return makeError("the staged picture has no image");
    PictureOrder order = slideOrder(state, screen_, *staged, name);
    // The size the staged picture will have once it covers the screen.
    fillScreen(picture1);
    order.stagedWidth = staged->width();
    order.stagedHeight = staged->height();
    return place(preparePicture(decoders, files, order), picture1, state);
}

void PictureLoader::fillScreen(platform::Control& picture1) const {
    platform::TwipsRect rect = picture1.bounds();
    rect.width = toInt32(screen_.widthTwips());
    rect.height = toInt32(screen_.heightTwips());
    picture1.move(rect);
}

std::string emptyFolderLine(const std::string& picturePath) {
    return "No pictures found in " + picturePath + " !!";
}

std::string loadErrorLine(const std::string& description, const std::string& picturePath,
                          const std::string& name) {
    return description + "; " + picturePath + name;
}

void printStagedLine(platform::Surface& picture1, platform::Font& font, double points,
                     const std::string& line) {
    font.points = points;
    picture1.printLine(line, font, kStagedForeColour);
}

}  // namespace pictavo::slideshow
