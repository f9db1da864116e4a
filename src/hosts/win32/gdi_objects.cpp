#include "hosts/win32/gdi_objects.h"

#include <cmath>

#include "hosts/win32/text_encoding.h"

namespace pictavo::platform::win32 {

namespace {
constexpr Colour kSystemColourFlag = 0x80000000u;
constexpr double kPointsPerInch = 72.0;
}  // namespace

COLORREF toColorRef(Colour colour) {
    if ((colour & kSystemColourFlag) != 0) return GetSysColor(static_cast<int>(colour & 0xFFu));
    return colour & 0x00FFFFFFu;
}

BITMAPINFO topDownDibInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: the top row comes first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

UniqueFont createFont(const Font& font) {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    LOGFONTW description{};
    // Negative: the size of the characters, not of the cell.
    description.lfHeight = -static_cast<LONG>(std::lround(font.points * dpi / kPointsPerInch));
    description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    std::wstring face = toWide(font.face);
    wcsncpy(description.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return UniqueFont(CreateFontIndirectW(&description));
}

}  // namespace pictavo::platform::win32
