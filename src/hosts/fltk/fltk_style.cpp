#include "hosts/fltk/fltk_style.h"

#include <FL/Fl.H>

#include <algorithm>
#include <cctype>
#include <cmath>

#include "common/text.h"
#include "hosts/shared/colour_pixels.h"

namespace pictavo::platform::fltk {

namespace {

// The texts carry the line breaks Windows draws ("\r\n", and "\n\r" in
// older ones); FLTK breaks lines at "\n" only and shows a carriage return as
// a glyph. Each pair, and a lone "\r", becomes one "\n".
std::string escaped(const std::string& text, bool ampersands) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            char other = c == '\r' ? '\n' : '\r';
            if (i + 1 < text.size() && text[i + 1] == other) ++i;
            out += '\n';
            continue;
        }
        if (c == '@' || (ampersands && c == '&')) out += c;
        out += c;
    }
    return out;
}

}  // namespace

FltkFont fltkFont(const Font& font, double dotsPerInch) {
    std::string face = toLowerAscii(font.face);
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
    // The same scheme as the in-memory surfaces, so both hosts show a system
    // colour alike.
    imaging::Pixel pixel = pixelFromColour(colour);
    red = imaging::red(pixel);
    green = imaging::green(pixel);
    blue = imaging::blue(pixel);
}

std::string widgetLabel(const std::string& caption) {
    return escaped(caption, false);
}

std::string plainLabel(const std::string& text) {
    return escaped(text, true);
}

}  // namespace pictavo::platform::fltk
