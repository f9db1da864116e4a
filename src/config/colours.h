#pragma once
// The colours the dialogs' layouts name, as 0x00BBGGRR.

#include <array>

#include "platform/types.h"

namespace pictavo::config {

inline constexpr platform::Colour kBlack = 0x00000000;
inline constexpr platform::Colour kBlue = 0x00FF0000;
inline constexpr platform::Colour kRed = 0x000000FF;
inline constexpr platform::Colour kGrey = 0x00808080;
inline constexpr platform::Colour kLightGrey = 0x00C0C0C0;
inline constexpr platform::Colour kWhite = 0x00FFFFFF;
inline constexpr platform::Colour kLightCyan = 0x00FFFF00;

// The standard 16-colour palette by colour number.
inline constexpr std::array<platform::Colour, 16> kPalette16 = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

}  // namespace pictavo::config
