#include "hosts/win32/graphic_paint.h"

#include "hosts/win32/dib_surface.h"
#include "hosts/win32/gdi_objects.h"

namespace pictavo::platform::win32 {

namespace {
// Lines and shape outlines are drawn in the window text colour unless told otherwise.
constexpr Colour kWindowText = 0x80000008u;

int hatchOf(int fillStyle) {
    switch (fillStyle) {
        case 2:
            return HS_HORIZONTAL;
        case 3:
            return HS_VERTICAL;
        case 4:
            return HS_BDIAGONAL;  // upward: bottom left to top right
        case 5:
            return HS_FDIAGONAL;  // downward: top left to bottom right
        case 6:
            return HS_CROSS;
        default:
            return HS_DIAGCROSS;
    }
}

}  // namespace

void paintLine(HDC dc, const RECT& area, std::optional<Colour> colour) {
    COLORREF ink = toColorRef(colour.value_or(kWindowText));
    UniquePen pen(CreatePen(PS_SOLID, 1, ink));
    HGDIOBJ previousPen = SelectObject(dc, pen.get());
    MoveToEx(dc, area.left, area.top, nullptr);
    LineTo(dc, area.right, area.bottom);
    SetPixel(dc, area.right, area.bottom, ink);  // GDI leaves the end point out
    SelectObject(dc, previousPen);
}

void paintShape(HDC dc, const RECT& area, std::optional<Colour> border, int fillStyle,
                std::optional<Colour> fill) {
    UniquePen pen(CreatePen(PS_SOLID, 1, toColorRef(border.value_or(kWindowText))));
    COLORREF inside = toColorRef(fill.value_or(0));
    UniqueBrush brush;
    if (fillStyle == 0) brush.reset(CreateSolidBrush(inside));
    if (fillStyle >= 2 && fillStyle <= 7) brush.reset(CreateHatchBrush(hatchOf(fillStyle), inside));
    HGDIOBJ previousPen = SelectObject(dc, pen.get());
    HGDIOBJ previousBrush =
        SelectObject(dc, brush ? static_cast<HGDIOBJ>(brush.get()) : GetStockObject(NULL_BRUSH));
    int previousMode = SetBkMode(dc, TRANSPARENT);
    Rectangle(dc, area.left, area.top, area.right, area.bottom);
    SetBkMode(dc, previousMode);
    SelectObject(dc, previousBrush);
    SelectObject(dc, previousPen);
}

void paintImage(HDC dc, const RECT& area, const imaging::Image& picture, bool stretch) {
    if (picture.empty()) return;
    BITMAPINFO info = topDownDibInfo(picture.width, picture.height);
    if (stretch) {
        int previousMode = SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, 0, 0,
                      picture.width, picture.height, picture.pixels.data(), &info, DIB_RGB_COLORS,
                      SRCCOPY);
        SetStretchBltMode(dc, previousMode);
    } else {
        SetDIBitsToDevice(dc, area.left, area.top, static_cast<DWORD>(picture.width),
                          static_cast<DWORD>(picture.height), 0, 0, 0,
                          static_cast<UINT>(picture.height), picture.pixels.data(), &info,
                          DIB_RGB_COLORS);
    }
}

// A picture with transparent parts, laid on the colour beneath it.
imaging::Image laidOn(imaging::Image picture, Colour background) {
    uint32_t under = pixelOf(background);
    for (imaging::Pixel& pixel : picture.pixels) {
        uint32_t alpha = pixel >> 24;
        if (alpha == 255) continue;
        auto mix = [&](int shift) {
            uint32_t top = (pixel >> shift) & 0xFFu, bottom = (under >> shift) & 0xFFu;
            return ((top * alpha + bottom * (255 - alpha) + 127) / 255) << shift;
        };
        pixel = 0xFF000000u | mix(16) | mix(8) | mix(0);
    }
    return picture;
}

}  // namespace pictavo::platform::win32
