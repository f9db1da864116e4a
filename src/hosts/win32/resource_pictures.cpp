#include "hosts/win32/resource_pictures.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "artwork/artwork.h"
#include "hosts/win32/gdi_objects.h"
#include "hosts/win32/resource_ids.h"
#include "hosts/win32/text_encoding.h"

namespace pictavo::platform::win32 {

namespace {
constexpr int kIconSize = 32;

// The bitmap's pixels as 32-bit words, top row first; empty on failure.
imaging::Image pixelsOf(HBITMAP bitmap, bool keepAlpha) {
    BITMAP description{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof description, &description) == 0) return {};
    imaging::Image image(description.bmWidth, description.bmHeight);
    BITMAPINFO info = topDownDibInfo(image.width, image.height);
    HDC screen = GetDC(nullptr);
    int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(image.height), image.pixels.data(),
                         &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != image.height) return {};
    if (!keepAlpha)
        for (imaging::Pixel& pixel : image.pixels) pixel |= 0xFF000000u;
    return image;
}

imaging::Image iconPicture() {
    auto icon =
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(PICTAVO_ICON),
                                      IMAGE_ICON, kIconSize, kIconSize, LR_DEFAULTCOLOR));
    if (icon == nullptr) return {};
    ICONINFO parts{};
    imaging::Image image;
    if (GetIconInfo(icon, &parts)) {
        image = pixelsOf(parts.hbmColor, true);
        if (parts.hbmColor != nullptr) DeleteObject(parts.hbmColor);
        if (parts.hbmMask != nullptr) DeleteObject(parts.hbmMask);
    }
    DestroyIcon(icon);
    return image;
}

imaging::Image bitmapPicture(std::string_view name) {
    std::string upper(name);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    HINSTANCE module = GetModuleHandleW(nullptr);
    std::wstring resourceName = toWide(upper);
    if (FindResourceW(module, resourceName.c_str(), RT_BITMAP) == nullptr) return {};
    auto bitmap = static_cast<HBITMAP>(
        LoadImageW(module, resourceName.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    imaging::Image image = pixelsOf(bitmap, false);
    if (bitmap != nullptr) DeleteObject(bitmap);
    return image;
}
}  // namespace

imaging::Image resourcePicture(std::string_view name) {
    imaging::Image stored = name == "icon" ? iconPicture() : bitmapPicture(name);
    return stored.empty() ? artwork::image(name) : stored;
}

}  // namespace pictavo::platform::win32
