#pragma once
// The screen-saver switches: only the first two characters of the command
// line count, compared without regard to case.

#include <cstdint>
#include <string_view>

namespace pictavo::startup {

enum class Mode {
    Show,            // "/s": full screen
    Configure,       // "/c", and anything unrecognised
    Preview,         // "/p" and a window handle
    ChangePassword,  // "/a" and a window handle
    // The show inside a window a screen-saver daemon owns; no switch asks
    // for it, the Linux program's own options do.
    HostedShow,
};

struct CommandLine {
    Mode mode = Mode::Configure;
    // The handle after "/p" or "/a"; 0 in the other modes or when unusable.
    int32_t windowHandle = 0;
};

CommandLine parseCommandLine(std::string_view commandLine);

// Everything after the two-character switch read the lenient way: blanks
// skipped, digits taken as far as they go, no number = 0; rounded into 32 bits.
int32_t parseWindowHandle(std::string_view afterSwitch);

}  // namespace pictavo::startup
