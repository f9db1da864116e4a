#pragma once
// How the display's true-colour pixels hold red, green and blue, and the
// conversion of rows between the picture boxes' pixels and an XImage's.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <bit>
#include <cstdint>

#include "imaging/image.h"

namespace pictavo::platform::fltk {

struct XPixelFormat {
    unsigned long redMask, greenMask, blueMask;
    int redShift, greenShift, blueShift;
    // 32-bit pixels as 0x00RRGGBB in the machine's byte order: copied as words.
    bool plainWords;

    static int shiftOf(unsigned long mask) { return mask == 0 ? 0 : std::countr_zero(mask); }

    XPixelFormat(const Visual* visual, const XImage* image)
        : redMask(visual->red_mask),
          greenMask(visual->green_mask),
          blueMask(visual->blue_mask),
          redShift(shiftOf(redMask)),
          greenShift(shiftOf(greenMask)),
          blueShift(shiftOf(blueMask)),
          plainWords(image->bits_per_pixel == 32 && redMask == 0xFF0000 && greenMask == 0xFF00 &&
                     blueMask == 0xFF &&
                     image->byte_order ==
                         (std::endian::native == std::endian::little ? LSBFirst : MSBFirst)) {}

    static unsigned long scaleTo(uint8_t value, unsigned long mask, int shift) {
        unsigned long max = mask >> shift;
        return ((static_cast<unsigned long>(value) * max + 127) / 255) << shift;
    }
    static uint8_t scaleFrom(unsigned long pixel, unsigned long mask, int shift) {
        unsigned long max = mask >> shift;
        if (max == 0) return 0;
        return static_cast<uint8_t>((((pixel & mask) >> shift) * 255 + max / 2) / max);
    }
    unsigned long toX(imaging::Pixel p) const {
        return scaleTo(imaging::red(p), redMask, redShift) |
               scaleTo(imaging::green(p), greenMask, greenShift) |
               scaleTo(imaging::blue(p), blueMask, blueShift);
    }
    imaging::Pixel fromX(unsigned long x) const {
        return imaging::rgb(scaleFrom(x, redMask, redShift), scaleFrom(x, greenMask, greenShift),
                            scaleFrom(x, blueMask, blueShift));
    }

    // count pixels of in to row y of out, from column x on.
    void toRow(const imaging::Pixel* in, int count, XImage* out, int x, int y) const {
        if (plainWords) {
            auto* words = reinterpret_cast<uint32_t*>(out->data + static_cast<ptrdiff_t>(y) *
                                                                      out->bytes_per_line) +
                          x;
            for (int i = 0; i < count; ++i) words[i] = in[i] & 0x00FFFFFFu;
        } else {
            for (int i = 0; i < count; ++i) XPutPixel(out, x + i, y, toX(in[i]));
        }
    }
    // count pixels of row y of in, from column x on, to out.
    void fromRow(XImage* in, int x, int y, int count, imaging::Pixel* out) const {
        if (plainWords) {
            const auto* words = reinterpret_cast<const uint32_t*>(
                                    in->data + static_cast<ptrdiff_t>(y) * in->bytes_per_line) +
                                x;
            for (int i = 0; i < count; ++i) out[i] = 0xFF000000u | (words[i] & 0x00FFFFFFu);
        } else {
            for (int i = 0; i < count; ++i) out[i] = fromX(XGetPixel(in, x + i, y));
        }
    }
};

}  // namespace pictavo::platform::fltk
