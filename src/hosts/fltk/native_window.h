#pragma once
// The X window behind a top-level FLTK window, made before the window is
// shown. The core asks for a form's handle while it loads (to make it
// topmost, to parent a picture into another program's window), so the
// window must exist unmapped before show(); FLTK alone creates it only when
// mapping it. Here it is created the way FLTK would, then handed to FLTK.

#include <array>

#include "hosts/fltk/x11_types.h"

class Fl_Window;

namespace pictavo::platform::fltk {

struct NativeWindowOptions {
    XId parent = 0;        // 0: the root window
    XId transientFor = 0;  // the owner of a dialog
    bool border = true;    // title bar and frame from the window manager
    bool closeBox = true;  // with a border: the window menu and close button too
    bool input = true;     // false: keys and mouse go to whoever owns the parent
    bool overrideRedirect = false;
};

// Tells the window manager that a top-level window is the program's: its
// class ("pictavo", "Pictavo"), its process, and whether it takes the
// keyboard.
void markAsProgramsWindow(XId window, bool takesFocus);

// Creates window's X window, unmapped, with its caption and size hints.
// Does nothing when the window already has one.
void realise(Fl_Window& window, const NativeWindowOptions& options);
XId nativeHandle(const Fl_Window& window);

// Maps a realised window and lets FLTK draw it and create its subwindows.
void mapRealised(Fl_Window& window);
void unmapRealised(Fl_Window& window);
bool isMapped(const Fl_Window& window);

// Extended window-manager states (_NET_WM_STATE_ABOVE, ..._FULLSCREEN):
// written as a property before mapping, asked of the window manager after.
void addWindowState(XId window, const char* state);

// Sends the window manager, when one runs, a request about window: an
// EWMH client message to the root window.
void askWindowManager(XId window, const char* message, const std::array<long, 5>& data);

// Brings the window to the front and gives it the keyboard: through the
// window manager when there is one, directly otherwise.
void raiseAndFocus(XId window);
// Gives the window the keyboard without changing the stacking.
void focusWindow(XId window);
// The window that has the keyboard now (0 when none or the pointer's).
XId focusedWindow();
bool windowManagerRunning();

// One of the program's windows was destroyed by someone else (the program
// that lent its parent went away): tells the window it is closing, then
// lets FLTK forget it. FLTK 1.3's own handling would make a new window in
// its place, and crashes doing so when nothing was drawn in it yet.
// Returns false when the window is not the program's.
bool forgetDestroyedWindow(XId window);

}  // namespace pictavo::platform::fltk
