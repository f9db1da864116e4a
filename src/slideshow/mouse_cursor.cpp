#include "slideshow/mouse_cursor.h"

namespace pictavo::slideshow {

namespace {
// A cursor whose count never moves would otherwise hold the program forever.
constexpr int kMostCalls = 10000;
}  // namespace

void ShowMouseCursor(platform::Cursor& cursor) {
    for (int calls = 0; calls < kMostCalls; ++calls)
        if (cursor.showCursor(true) >= 0) return;
}

void HideMouseCursor(platform::Cursor& cursor) {
    for (int calls = 0; calls < kMostCalls; ++calls)
        if (cursor.showCursor(false) <= -1) return;
}

}  // namespace pictavo::slideshow
