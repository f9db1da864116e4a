#pragma once
// The persistent off-screen image of a picture box, and the block transfers
// between two of them that every transition is drawn with.

#include <string_view>

#include "imaging/image.h"
#include "platform/font.h"
#include "platform/types.h"

namespace pictavo::platform {

class Surface {
  public:
    virtual ~Surface() = default;

    virtual int width() const = 0;   // pixels
    virtual int height() const = 0;  // pixels
    // Changes the size; the content is undefined afterwards (callers clear it).
    virtual void resize(int width, int height) = 0;

    // Block transfer with source copy: the w x h rectangle at (sx, sy) of src
    // to (dx, dy) here. Whatever lies outside either surface is skipped; a
    // zero or negative size copies nothing. src may be this surface.
    virtual void copyFrom(const Surface& src, int dx, int dy, int w, int h, int sx, int sy) = 0;
    // Scales the sw x sh rectangle at (sx, sy) of src into the dw x dh
    // rectangle at (dx, dy) here, clipped to this surface.
    virtual void stretchFrom(const Surface& src, int sx, int sy, int sw, int sh, int dx, int dy,
                             int dw, int dh) = 0;

    // Fills everything with colour (the empty picture shows the background).
    virtual void clear(Colour colour) = 0;
    // Paints image with its top-left at (x, y), clipped.
    virtual void drawImage(const imaging::Image& image, int x, int y) = 0;

    // Prints one line at the print position in font and colour on a
    // transparent background, then moves the print position to the start of
    // the next line.
    virtual void printLine(std::string_view text, const Font& font, Colour colour) = 0;
    virtual int printY() const = 0;
    virtual void setPrintPosition(int x, int y) = 0;

    // The current pixels.
    virtual imaging::Image snapshot() const = 0;
    // Tells the window system that the surface changed and should be shown.
    virtual void present() {}
};

}  // namespace pictavo::platform
