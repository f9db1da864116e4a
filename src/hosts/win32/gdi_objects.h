#pragma once
// Fonts, brushes and pens that delete themselves, and the colour form GDI takes.

#include <windows.h>

#include <memory>
#include <type_traits>

#include "platform/font.h"
#include "platform/types.h"

namespace pictavo::platform::win32 {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
using UniquePen = std::unique_ptr<std::remove_pointer_t<HPEN>, GdiObjectDeleter>;

// 0x800000nn is system colour nn; anything else is already 0x00BBGGRR.
COLORREF toColorRef(Colour colour);

// The header of a 32-bit DIB whose top row comes first, as every picture of
// ours is laid out.
BITMAPINFO topDownDibInfo(int width, int height);

// The font at the screen's vertical resolution.
UniqueFont createFont(const Font& font);

}  // namespace pictavo::platform::win32
