#pragma once
// One picked file onto the staged picture Picture1: decode, fit the
// display's colours, then show it at its own size, stretched to the screen
// or centred. The decoded image goes to Picture1 in memory; no file is written.

#include <cstdint>
#include <string>

#include "common/result.h"
#include "imaging/codec.h"
#include "platform/file_system.h"
#include "platform/font.h"
#include "platform/forms.h"
#include "platform/screen.h"
#include "platform/types.h"
#include "startup/saver_state.h"

namespace pictavo::slideshow {

inline constexpr platform::Colour kStagedBackColour = platform::bgr(0, 0, 0);
inline constexpr platform::Colour kStagedForeColour = platform::bgr(192, 192, 192);
inline constexpr double kEmptyFolderPoints = 30;
inline constexpr double kLoadErrorPoints = 40;

// Picture1's font before a line sets its size.
inline platform::Font stagedFont() {
    return platform::Font{"MS Sans Serif", 8.25, true};
}

// Reduces the codec's picture to its target colour count (16 or 256) with
// dithering when it has more colours than that.
void fitColours(imaging::Codec& codec);

class PictureLoader {
  public:
    PictureLoader(const platform::FileSystem& files, const platform::Screen& screen,
                  imaging::Codec& picBuf1)
        : files_(files), screen_(screen), PicBuf1(picBuf1) {}

    // Places PicturePath + name into picture1 and sets ImageWidth and
    // ImageHeight. LastPictureIndex is the caller's, set after success. On
    // an error Picture1 keeps whatever the steps before it left.
    Result<void> place(const std::string& name, platform::Control& picture1, SaverState& state);

  private:
    Result<void> load(const std::string& name, const SaverState& state);
    Result<void> takeImageSize(SaverState& state) const;
    void fillScreen(platform::Control& picture1) const;

    const platform::FileSystem& files_;
    const platform::Screen& screen_;
    imaging::Codec& PicBuf1;
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
