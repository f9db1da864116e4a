#pragma once
// FLTK's key numbers as the virtual key codes the core's handlers compare
// (13 Enter, 27 Esc, 65 'A', 112 F1...).

namespace pictavo::platform::fltk {

// Never 0, so a key the table does not know still reaches a handler as a key.
int virtualKey(int fltkKey);
// Shift 1, Ctrl 2, Alt 4, from FLTK's event state.
int shiftState(int fltkState);

}  // namespace pictavo::platform::fltk
