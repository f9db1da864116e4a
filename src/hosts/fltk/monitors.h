#pragma once
// The monitors of the X screen the program runs on, as the window manager
// numbers them: the Xinerama heads (which a modern server derives from its
// RandR monitors), else the whole screen as one. One of them is primary:
// the head of the RandR primary monitor where the server names one, else
// the first. The full-screen show and the dialogs live on the primary one;
// the others are covered black while the show runs.

#include <cstddef>
#include <optional>
#include <vector>

namespace pictavo::platform::fltk {

// A rectangle in pixels of the root window.
struct MonitorArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const MonitorArea&) const = default;
};

struct MonitorLayout {
    std::vector<MonitorArea> heads;  // in the window manager's numbering
    size_t primary = 0;              // index into heads

    const MonitorArea& primaryArea() const { return heads[primary]; }
    // The heads to cover while the show is on the primary: those it leaves
    // uncovered, each once (not one that another of them holds, nor a clone
    // of one).
    std::vector<size_t> otherHeads() const;
};

// Which head is primary: the one the primary monitor's area is, else the
// one holding its centre, else the first.
size_t primaryHead(const std::vector<MonitorArea>& heads,
                   const std::optional<MonitorArea>& primaryMonitor);

// The monitors of the program's X screen, read from the server now.
MonitorLayout readMonitors();

// The other X screens of the display, each whole: (screen number, area).
struct OtherScreen {
    int number = 0;
    MonitorArea area;
};
std::vector<OtherScreen> otherScreens();

}  // namespace pictavo::platform::fltk
