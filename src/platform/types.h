#pragma once
// Small value types shared by the platform interfaces.

#include <cstdint>

namespace pictavo::platform {

// A native window: an HWND on Windows, an X window id on Linux, a number
// the headless host hands out. 0 is no window.
using WindowHandle = int64_t;

// 0x00BBGGRR, the colour form the window layouts use. 0x800000nn is system colour nn.
using Colour = uint32_t;

constexpr Colour bgr(uint8_t r, uint8_t g, uint8_t b) {
    return uint32_t{r} | (uint32_t{g} << 8) | (uint32_t{b} << 16);
}
constexpr uint8_t colourRed(Colour c) {
    return static_cast<uint8_t>(c);
}
constexpr uint8_t colourGreen(Colour c) {
    return static_cast<uint8_t>(c >> 8);
}
constexpr uint8_t colourBlue(Colour c) {
    return static_cast<uint8_t>(c >> 16);
}

struct ClientRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

}  // namespace pictavo::platform
