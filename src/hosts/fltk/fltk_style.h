#pragma once
// How the layouts' fonts, colours and captions look in FLTK.

#include <FL/Enumerations.H>

#include <string>

#include "platform/font.h"
#include "platform/types.h"

namespace pictavo::platform::fltk {

struct FltkFont {
    Fl_Font face = FL_HELVETICA;
    Fl_Fontsize pixels = 11;
};

// MS Sans Serif and the other Windows faces map to FLTK's built-in ones;
// points become pixels at the screen's dots per inch.
FltkFont fltkFont(const Font& font, double dotsPerInch);

// 0x00BBGGRR, or 0x800000nn for system colour nn (the classic grey theme).
Fl_Color fltkColour(Colour colour);
// The same colour as red, green and blue.
void colourParts(Colour colour, unsigned char& red, unsigned char& green, unsigned char& blue);

// A caption as a widget label: "&" keeps marking the access key, "@" is
// doubled so FLTK draws it instead of reading a symbol, and Windows' line
// breaks ("\r\n", "\n\r", "\r") become FLTK's "\n".
std::string widgetLabel(const std::string& caption);
// Plain text shown as a label: "&" is doubled too, so nothing is underlined.
std::string plainLabel(const std::string& text);

}  // namespace pictavo::platform::fltk
