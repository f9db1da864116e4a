#include "platform/fltk/fltk_style.h"

#include <FL/Fl.H>

#include <algorithm>
#include <cctype>
#include <cmath>

namespace pictavo::platform::fltk {

namespace {

constexpr Colour kSystemColourFlag = 0x80000000u;

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The system colours a classic Windows desktop shows (index = nn).
Colour systemColour(unsigned index) {
    switch (index) {
        case 5:   // window background
        case 14:  // highlighted text
        case 20:  // 3-D highlight
            return bgr(255, 255, 255);
        case 13:  // highlight
        case 2:   // active caption
            return bgr(0, 0, 128);
        case 16:  // button shadow
        case 17:  // grey text
            return bgr(128, 128, 128);
        case 1:  // desktop
            return bgr(0, 128, 128);
        case 0:   // scroll bar
        case 4:   // menu
        case 15:  // button face
        case 22:  // 3-D light
            return bgr(192, 192, 192);
        default:  // texts and frames
            return bgr(0, 0, 0);
    }
}

Colour resolved(Colour colour) {
    return (colour & kSystemColourFlag) != 0 ? systemColour(colour & 0xFFu) : colour;
}

std::string escaped(const std::string& text, bool ampersands) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '@' || (ampersands && c == '&')) out += c;
        out += c;
    }
    return out;
}

}  // namespace

FltkFont fltkFont(const Font& font, double dotsPerInch) {
    std::string face = lowerCase(font.face);
    Fl_Font base = FL_HELVETICA;
    if (face.find("times") != std::string::npos || face.find("serif") == 0) base = FL_TIMES;
    if (face.find("courier") != std::string::npos || face.find("fixed") != std::string::npos)
        base = FL_COURIER;
    FltkFont result;
    result.face = font.bold ? base + FL_BOLD : base;
    result.pixels =
        static_cast<Fl_Fontsize>(std::max(1L, std::lround(font.points * dotsPerInch / 72.0)));
    return result;
}

Fl_Color fltkColour(Colour colour) {
    unsigned char r, g, b;
    colourParts(colour, r, g, b);
    return fl_rgb_color(r, g, b);
}

void colourParts(Colour colour, unsigned char& red, unsigned char& green, unsigned char& blue) {
    Colour plain = resolved(colour);
    red = colourRed(plain);
    green = colourGreen(plain);
    blue = colourBlue(plain);
}

std::string widgetLabel(const std::string& caption) {
    return escaped(caption, false);
}

char captionAccessKey(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] != '&')
            return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
        ++i;
    }
    return 0;
}

std::string plainLabel(const std::string& text) {
    return escaped(text, true);
}

}  // namespace pictavo::platform::fltk
