#include "hosts/shared/colour_pixels.h"

#include <array>

namespace pictavo::platform {

namespace {

constexpr Colour kSystemColourFlag = 0x80000000u;

// Indexed by system colour number (COLOR_SCROLLBAR = 0 ... COLOR_INFOBK = 24).
constexpr std::array<Colour, 25> kClassicScheme = {
    bgr(192, 192, 192),  //  0 scroll bar
    bgr(0, 128, 128),    //  1 desktop
    bgr(0, 0, 128),      //  2 active caption
    bgr(128, 128, 128),  //  3 inactive caption
    bgr(192, 192, 192),  //  4 menu
    bgr(255, 255, 255),  //  5 window
    bgr(0, 0, 0),        //  6 window frame
    bgr(0, 0, 0),        //  7 menu text
    bgr(0, 0, 0),        //  8 window text
    bgr(255, 255, 255),  //  9 caption text
    bgr(192, 192, 192),  // 10 active border
    bgr(192, 192, 192),  // 11 inactive border
    bgr(128, 128, 128),  // 12 application workspace
    bgr(0, 0, 128),      // 13 highlight
    bgr(255, 255, 255),  // 14 highlight text
    bgr(192, 192, 192),  // 15 button face
    bgr(128, 128, 128),  // 16 button shadow
    bgr(128, 128, 128),  // 17 grey text
    bgr(0, 0, 0),        // 18 button text
    bgr(192, 192, 192),  // 19 inactive caption text
    bgr(255, 255, 255),  // 20 button highlight
    bgr(0, 0, 0),        // 21 3D dark shadow
    bgr(223, 223, 223),  // 22 3D light
    bgr(0, 0, 0),        // 23 tooltip text
    bgr(255, 255, 225),  // 24 tooltip background
};

}  // namespace

imaging::Pixel pixelFromColour(Colour colour) {
    if ((colour & kSystemColourFlag) != 0) {
        uint32_t index = colour & 0xFFu;
        colour = index < kClassicScheme.size() ? kClassicScheme[index] : bgr(0, 0, 0);
    }
    return imaging::rgb(colourRed(colour), colourGreen(colour), colourBlue(colour));
}

}  // namespace pictavo::platform
