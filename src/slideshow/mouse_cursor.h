#pragma once
// The cursor's display count brought to visible or hidden, however many
// times others raised or lowered it.

#include "platform/cursor.h"

namespace pictavo::slideshow {

// Raises the display count until it is 0 or more; at least once.
void ShowMouseCursor(platform::Cursor& cursor);
// Lowers the display count until it is -1 or less; at least once.
void HideMouseCursor(platform::Cursor& cursor);

}  // namespace pictavo::slideshow
