#pragma once
// The pictavo command line. The screen-saver switches are those of the
// Windows saver ("/s", "/c", "/p ID", "/a ID", with an X window id); the
// hosts of Linux screen savers add their own:
//
//   -window-id ID   draw the show into window ID (decimal or 0x hex)
//   -root           draw the show on the root window
//   --trace FILE    write the show's record to FILE
//
// In those two the host owns input and locking.

#include <cstdint>
#include <string>
#include <vector>

#include "common/result.h"

namespace pictavo::app {

enum class DrawTarget {
    OwnWindows,  // the saver's own windows, by the switches
    HostWindow,  // -window-id
    RootWindow,  // -root
};

struct LinuxArguments {
    // Everything else, joined by blanks: what follows the program's name on
    // Windows.
    std::string commandLine;
    DrawTarget target = DrawTarget::OwnWindows;
    uint64_t windowId = 0;
    // The window as the user wrote it, for messages: the id after
    // -window-id, or what follows "/p" or "/a" (blanks trimmed).
    std::string windowNamed;
    // Where the show writes its record; empty for nowhere.
    std::string traceFile;
};

Result<LinuxArguments> parseLinuxArguments(const std::vector<std::string>& arguments);

}  // namespace pictavo::app
