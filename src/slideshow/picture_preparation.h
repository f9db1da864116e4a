#pragma once
// Everything of a slide change that needs no window: read the picked file,
// decode it, fit the display's colours and, for a stretched slide, render
// it at the screen's size. It may run on any thread; the placement onto
// Picture1 is left for the window's thread (PictureLoader).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/result.h"
#include "imaging/colour_fit.h"
#include "imaging/decoder.h"
#include "imaging/target.h"
#include "imaging/work_meter.h"
#include "platform/file_system.h"

namespace pictavo::slideshow {

// What to prepare and for which screen. Two orders that compare equal
// give the same picture as long as the file has not changed.
struct PictureOrder {
    enum class Fit {
        Screen,  // the slide window: own size, centred or stretched (Stretch)
        Box,     // the preview: as large as fits the box, keeping its shape
    };

    std::string path;  // PicturePath & List(i)
    std::string name;  // List(i), the decoder's hint
    Fit fit = Fit::Screen;
    // The screen in pixels (ScreenPixelWidth x ScreenPixelHeight), or the box.
    int width = 0;
    int height = 0;
    bool stretch = false;
    // The staged picture's size once it covers the screen: a stretched
    // slide is rendered at this size.
    int stagedWidth = 0;
    int stagedHeight = 0;
    int64_t targetColours = 16777216;

    bool operator==(const PictureOrder&) const = default;
};

struct PreparedPicture {
    PictureOrder order;
    // The file as it was before it was read; none when it could not be looked at.
    std::optional<platform::FileStamp> stamp;
    // The read and the decode; on an error nothing below is set.
    Result<void> loaded;
    // The whole picture's size, however much of it was decoded.
    int pictureWidth = 0;
    int pictureHeight = 0;
    // Decoded at the size it is shown (the staged size for a stretched
    // slide, the screen's window of a centred one, the fitted size for a
    // box) and fitted to the display's colours.
    imaging::Image image;
    // Where image's pixels lie in the whole picture (a centred slide may
    // have decoded only what the screen shows).
    int originX = 0;
    int originY = 0;
    // For a stretched slide or a box: whether it came at the size it is
    // shown at (a decoder that could not scale is helped here).
    std::optional<Result<void>> rendered;
};

// The palette of a display of targetColours (16 or 256) for image, when
// the picture has more colours than that; none otherwise.
std::optional<imaging::Palette> displayPalette(const imaging::Image& image, int64_t targetColours);

// Reads and prepares the order's file with decoders. work is the decode's
// allowance and cancel flag.
PreparedPicture preparePicture(const imaging::DecoderList& decoders,
                               const platform::FileSystem& files, const PictureOrder& order,
                               std::shared_ptr<imaging::WorkMeter> work = nullptr);

// What the decoder is asked for: the picture scaled to the staged picture
// (stretched), the screen's window of it (centred) or the picture fitted
// into the box (preview), each delivered at the size it is shown.
imaging::Target decodeTarget(const PictureOrder& order);

}  // namespace pictavo::slideshow
