#pragma once
// The saver's process-wide values in one object, filled by start-up and
// handed to every window and routine that needs them.

#include <cstdint>
#include <optional>
#include <string>

#include "common/random.h"
#include "platform/types.h"

namespace pictavo {

struct SaverState {
    // Settings, loaded once at start-up.
    std::string PicturePath;  // always ends with the folder separator
    int32_t Interval = 10;    // one-second ticks counted between slides
    int16_t Speed = 1;        // pacing factor of the transitions, 1..1000
    int16_t Stretch = 0;      // 0 = centre pictures, else stretch to the screen
    std::string Password;     // encoded; empty = none

    // The screen, measured at start-up.
    int16_t TwipsPerPixelX = 15;
    int16_t TwipsPerPixelY = 15;
    int16_t ScreenPixelWidth = 0;
    int16_t ScreenPixelHeight = 0;

    // The system.
    int16_t UsePassword = 0;    // the system's screen-saver password switch
    int32_t OsPlatformId = 0;   // 2 = NT family
    int32_t PreviewWindow = 0;  // the handle after "/p" or "/a"

    // Pictures.
    int16_t ImageWidth = 0;
    int16_t ImageHeight = 0;
    std::optional<int> LastPictureIndex;  // none before the first picture

    // Input of the slide window.
    bool MouseOriginPending = true;
    int16_t LastMouseX = 0;
    int16_t LastMouseY = 0;

    // The preview.
    bool PreviewActive = false;

    // Whether the slide window told the system a saver is running, so the
    // password prompt clears the flag only when it was set.
    bool ScreenSaverRunningSet = false;

    Random random;
};

}  // namespace pictavo
