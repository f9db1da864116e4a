#pragma once
// The program's entry: measure the screen, load the settings, read the
// system's password switch and open the window the command line asks for.

#include <string_view>

#include "platform/host.h"
#include "startup/command_line.h"
#include "startup/mode_windows.h"
#include "state/saver_state.h"
#include "state/screen_pixels.h"

namespace pictavo::startup {

// Interval, Stretch, Speed, PicturePath, the system's password switch and
// Password, in that order.
void loadSettings(platform::Host& host, SaverState& state);

// Runs once; returns when the mode's window is open (or, for the modal
// configuration dialog, closed). commandLine is what follows the program's name.
void Main(platform::Host& host, SaverState& state, ModeWindows& windows,
          std::string_view commandLine);
// The same for a command line already read, or a mode no switch names.
void Main(platform::Host& host, SaverState& state, ModeWindows& windows,
          const CommandLine& commandLine);

}  // namespace pictavo::startup
