#pragma once
// A prepared picture onto the staged picture Picture1: shown at its own
// size, stretched to the screen or centred. The decoded image goes to
// Picture1 in memory; no file is written.

#include <cstdint>
#include <string>

#include "common/result.h"
#include "imaging/decoder.h"
#include "platform/file_system.h"
#include "platform/font.h"
#include "platform/forms.h"
#include "platform/screen.h"
#include "platform/types.h"
#include "slideshow/picture_preparation.h"
#include "state/saver_state.h"

namespace pictavo::slideshow {

inline constexpr platform::Colour kStagedBackColour = platform::bgr(0, 0, 0);
inline constexpr platform::Colour kStagedForeColour = platform::bgr(192, 192, 192);
inline constexpr double kEmptyFolderPoints = 30;
inline constexpr double kLoadErrorPoints = 40;

// Picture1's font before a line sets its size.
inline platform::Font stagedFont() {
    return platform::Font{"MS Sans Serif", 8.25, true};
}

// The order for PicturePath + name on the slide window's screen; picture1
// is the staged picture, which covers the screen.
PictureOrder slideOrder(const SaverState& state, const platform::Screen& screen,
                        const platform::Surface& picture1, const std::string& name);

// The size of the image placed into Picture1, in the 16 bits ImageWidth
// and ImageHeight hold: a picture of more than 32767 pixels a side (a
// panorama) keeps 32767 there, and is placed by its real size. Only the
// stretch transitions read it, and a stretched slide has the staged
// picture's size.
struct PlacedSize {
    int16_t width = 0;
    int16_t height = 0;
};

// ImageWidth and ImageHeight := the size of the image last placed.
void keepPlacedSize(PlacedSize placed, SaverState& state);

class PictureLoader {
  public:
    explicit PictureLoader(const platform::Screen& screen) : screen_(screen) {}

    // Places the prepared picture into picture1 and returns the size of the
    // image placed. ImageWidth, ImageHeight and LastPictureIndex are the
    // caller's, set after success. On an error Picture1 keeps whatever the
    // steps before it left.
    Result<PlacedSize> place(const PreparedPicture& prepared, platform::Control& picture1,
                             const SaverState& state) const;

    // Prepares PicturePath + name with decoders on this thread, then places it.
    Result<PlacedSize> place(const imaging::DecoderList& decoders,
                             const platform::FileSystem& files, const std::string& name,
                             platform::Control& picture1, const SaverState& state) const;

  private:
    void fillScreen(platform::Control& picture1) const;

    const platform::Screen& screen_;
};

// The text lines printed on the staged picture.
std::string emptyFolderLine(const std::string& picturePath);
std::string loadErrorLine(const std::string& description, const std::string& picturePath,
                          const std::string& name);

// Prints line at Picture1's print position in its font at points (the
// size stays with the font, as a picture box keeps its font size).
void printStagedLine(platform::Surface& picture1, platform::Font& font, double points,
                     const std::string& line);

}  // namespace pictavo::slideshow
