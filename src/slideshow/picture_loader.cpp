#include "slideshow/picture_loader.h"

#include "common/numbers.h"

namespace pictavo::slideshow {

namespace {
constexpr int kDitherErrorDiffusion = 3;

// The staged picture's own picture: the image at its top-left on black.
void assignPicture(platform::Surface& surface, const imaging::Image& image) {
    surface.clear(kStagedBackColour);
    surface.drawImage(image, 0, 0);
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

Result<void> PictureLoader::place(const std::string& name, platform::Control& picture1,
                                  SaverState& state) {
    platform::Surface* staged = picture1.surface();
    if (staged == nullptr) return makeError("the staged picture has no image");

    if (auto loaded = load(name, state); !loaded) return loaded;
    staged->clear(kStagedBackColour);
    fitColours(PicBuf1);
    if (auto sized = takeImageSize(state); !sized) return sized;

    if (state.ImageWidth == state.ScreenPixelWidth &&
        state.ImageHeight == state.ScreenPixelHeight) {
        assignPicture(*staged, PicBuf1.image());
        return {};
    }
    fillScreen(picture1);
    if (state.Stretch != 0) {
        if (auto rendered = PicBuf1.render(staged->width(), staged->height()); !rendered)
            return rendered;
        assignPicture(*staged, PicBuf1.image());
        return takeImageSize(state);
    }
    // Halves round to even: (1024 - 801) / 2 = 111.5 gives 112. A picture
    // larger than the screen gets a negative offset and shows its centre.
    int x = toInt16((state.ScreenPixelWidth - state.ImageWidth) / 2.0);
    int y = toInt16((state.ScreenPixelHeight - state.ImageHeight) / 2.0);
    // Only the window that shows may have been decoded; it goes where it
    // lies in the whole picture.
    staged->drawImage(PicBuf1.image(), x + PicBuf1.originX(), y + PicBuf1.originY());
    return {};
}

Result<void> PictureLoader::load(const std::string& name, const SaverState& state) {
    auto file = files_.openFile(state.PicturePath + name);
    if (!file) return file.error();
    // A stretched slide is shown at the screen's size, so the decoder may
    // skip detail below it; a centred one keeps every pixel but shows only
    // what fits on the screen, so the decoder may leave out the rest.
    bool centred = state.Stretch == 0;
    return PicBuf1.load(**file, name, state.ScreenPixelWidth, state.ScreenPixelHeight, centred);
}

Result<void> PictureLoader::takeImageSize(SaverState& state) const {
    auto width = tryInt16(PicBuf1.width());
    auto height = tryInt16(PicBuf1.height());
    if (!width || !height)
        return makeError("picture too large: " + std::to_string(PicBuf1.width()) + " x " +
                         std::to_string(PicBuf1.height()));
    state.ImageWidth = *width;
    state.ImageHeight = *height;
    return {};
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
