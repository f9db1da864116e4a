#pragma once
// The controls without a window of their own, as their container paints
// them: lines, rectangle shapes with their fill, and pictures.

#include <windows.h>

#include <optional>

#include "imaging/image.h"
#include "platform/types.h"

namespace pictavo::platform::win32 {

// From the rectangle's top-left to its bottom-right corner, both included.
void paintLine(HDC dc, const RECT& area, std::optional<Colour> colour);

// An outline, filled by style: 0 solid, 1 transparent, 2 to 7 hatches whose
// gaps show what lies beneath.
void paintShape(HDC dc, const RECT& area, std::optional<Colour> border, int fillStyle,
                std::optional<Colour> fill);

// The picture at its own size at the rectangle's corner, or scaled to it.
void paintImage(HDC dc, const RECT& area, const imaging::Image& picture, bool stretch);

// A picture with transparent parts, laid on the colour beneath it.
imaging::Image laidOn(imaging::Image picture, Colour background);

}  // namespace pictavo::platform::win32
