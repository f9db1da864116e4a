#pragma once
// X11's handle types, for headers that must not include Xlib.h: its macros
// (KeyPress, ...) would rewrite the core's names.

struct _XGC;

namespace pictavo::platform::fltk {

// A Window, Pixmap or other drawable: what Xlib calls an XID.
using XId = unsigned long;

}  // namespace pictavo::platform::fltk
