#include "hosts/fltk/fltk_surface.h"

#include "hosts/shared/memory_surface.h"

#include <FL/Fl.H>
#include <FL/Fl_Device.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/Xutil.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include <vector>

#include "hosts/fltk/fltk_style.h"
#include "hosts/fltk/x11_display.h"

namespace pictavo::platform::fltk {

namespace {

// How the display's true-colour pixels hold red, green and blue.
struct PixelFormat {
    unsigned long redMask, greenMask, blueMask;
    int redShift, greenShift, blueShift;
    // 32-bit pixels as 0x00RRGGBB in the machine's byte order: copied as words.
    bool plainWords;

    static int shiftOf(unsigned long mask) { return mask == 0 ? 0 : std::countr_zero(mask); }

    explicit PixelFormat(const XImage* image)
        : redMask(fl_visual->red_mask),
          greenMask(fl_visual->green_mask),
          blueMask(fl_visual->blue_mask),
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
};

// An XImage whose pixels live in a vector we own.
class ClientImage {
  public:
    ClientImage(int width, int height) {
        image_ = XCreateImage(display(), fl_visual->visual, static_cast<unsigned>(fl_visual->depth),
                              ZPixmap, 0, nullptr, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), 32, 0);
        if (image_ == nullptr) return;
        bytes_.resize(static_cast<size_t>(image_->bytes_per_line) * static_cast<size_t>(height));
        image_->data = bytes_.data();
    }
    ~ClientImage() {
        if (image_ == nullptr) return;
        image_->data = nullptr;  // ours, not Xlib's to free
        XDestroyImage(image_);
    }
    ClientImage(const ClientImage&) = delete;
    ClientImage& operator=(const ClientImage&) = delete;
    XImage* get() const { return image_; }

  private:
    XImage* image_ = nullptr;
    std::vector<char> bytes_;
};

PixelRect intersect(const PixelRect& a, const PixelRect& b) {
    int left = std::max(a.x, b.x), top = std::max(a.y, b.y);
    int right = std::min(a.x + a.width, b.x + b.width),
        bottom = std::min(a.y + a.height, b.y + b.height);
    return {left, top, right - left, bottom - top};
}

const FltkSurface* asFltk(const Surface& surface) {
    return dynamic_cast<const FltkSurface*>(&surface);
}

}  // namespace

FltkSurface::FltkSurface(int width, int height) {
    resize(width, height);
}

FltkSurface::~FltkSurface() {
    if (pixmap_ != 0) XFreePixmap(display(), pixmap_);
    if (gc_ != nullptr) XFreeGC(display(), gc_);
}

void FltkSurface::resize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    Display* d = display();
    if (pixmap_ != 0) XFreePixmap(d, pixmap_);
    pixmap_ = 0;
    width_ = width;
    height_ = height;
    ++version_;
    if (width == 0 || height == 0) return;
    pixmap_ = XCreatePixmap(d, rootWindow(), static_cast<unsigned>(width),
                            static_cast<unsigned>(height), static_cast<unsigned>(fl_visual->depth));
    if (gc_ == nullptr) {
        XGCValues values{};
        values.graphics_exposures = False;  // no NoExpose event for each of thousands of copies
        gc_ = XCreateGC(d, pixmap_, GCGraphicsExposures, &values);
    }
    XSetForeground(d, gc_, fl_xpixel(0, 0, 0));
    XFillRectangle(d, pixmap_, gc_, 0, 0, static_cast<unsigned>(width),
                   static_cast<unsigned>(height));
}

void FltkSurface::resizeKeeping(int width, int height, Colour background) {
    if (width == width_ && height == height_) return;
    XId old = pixmap_;
    int oldWidth = width_, oldHeight = height_;
    pixmap_ = 0;  // keep the old pixmap alive for the copy
    resize(width, height);
    clear(background);
    if (old != 0 && pixmap_ != 0)
        XCopyArea(display(), old, pixmap_, gc_, 0, 0,
                  static_cast<unsigned>(std::min(oldWidth, width_)),
                  static_cast<unsigned>(std::min(oldHeight, height_)), 0, 0);
    if (old != 0) XFreePixmap(display(), old);
    changed({0, 0, width_, height_});
}

void FltkSurface::copyFrom(const Surface& src, int dx, int dy, int w, int h, int sx, int sy) {
    if (w <= 0 || h <= 0 || pixmap_ == 0) return;
    const FltkSurface* source = asFltk(src);
    if (source == nullptr) {
        // Another kind of surface: through its pixels.
        imaging::Image pixels = src.snapshot();
        PixelRect from = intersect({sx, sy, w, h}, {0, 0, pixels.width, pixels.height});
        putPixels(pixels, from, dx + (from.x - sx), dy + (from.y - sy));
        return;
    }
    if (source->pixmap_ == 0) return;
    // Clip to both surfaces first, so no part of this one that lies outside
    // the source is touched (the server would leave it alone anyway).
    PixelRect from = intersect({sx, sy, w, h}, {0, 0, source->width_, source->height_});
    PixelRect to = intersect({dx + (from.x - sx), dy + (from.y - sy), from.width, from.height},
                             {0, 0, width_, height_});
    if (to.empty()) return;
    int fromX = from.x + (to.x - (dx + (from.x - sx)));
    int fromY = from.y + (to.y - (dy + (from.y - sy)));
    XCopyArea(display(), source->pixmap_, pixmap_, gc_, fromX, fromY,
              static_cast<unsigned>(to.width), static_cast<unsigned>(to.height), to.x, to.y);
    changed(to);
}

void FltkSurface::stretchFrom(const Surface& src, int sx, int sy, int sw, int sh, int dx, int dy,
                              int dw, int dh) {
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0 || pixmap_ == 0) return;
    PixelRect to = intersect({dx, dy, dw, dh}, {0, 0, width_, height_});
    if (to.empty()) return;
    const FltkSurface* fltkSource = asFltk(src);
    // The memory surface's scaler draws the frames, so every host shows the
    // same pixels; where the source rectangle reaches outside the source, the
    // destination keeps what it showed.
    MemorySurface source(fltkSource != nullptr ? fltkSource->cachedSnapshot() : src.snapshot());
    MemorySurface target(snapshot());
    target.stretchFrom(source, sx, sy, sw, sh, dx, dy, dw, dh);
    putPixels(target.image(), to, to.x, to.y);
}

void FltkSurface::clear(Colour colour) {
    if (pixmap_ == 0) return;
    unsigned char r, g, b;
    colourParts(colour, r, g, b);
    XSetForeground(display(), gc_, fl_xpixel(r, g, b));
    XFillRectangle(display(), pixmap_, gc_, 0, 0, static_cast<unsigned>(width_),
                   static_cast<unsigned>(height_));
    changed({0, 0, width_, height_});
}

void FltkSurface::drawImage(const imaging::Image& image, int x, int y) {
    if (pixmap_ == 0 || image.empty()) return;
    putPixels(image, {0, 0, image.width, image.height}, x, y);
}

void FltkSurface::putPixels(const imaging::Image& image, const PixelRect& from, int dx, int dy) {
    PixelRect to = intersect({dx, dy, from.width, from.height}, {0, 0, width_, height_});
    if (to.empty()) return;
    int offsetX = from.x + (to.x - dx), offsetY = from.y + (to.y - dy);
    ClientImage buffer(to.width, to.height);
    XImage* xi = buffer.get();
    if (xi == nullptr) return;
    PixelFormat format(xi);
    for (int row = 0; row < to.height; ++row) {
        const imaging::Pixel* line =
            &image.pixels[static_cast<size_t>(offsetY + row) * static_cast<size_t>(image.width) +
                          static_cast<size_t>(offsetX)];
        if (format.plainWords) {
            auto* out = reinterpret_cast<uint32_t*>(xi->data + static_cast<ptrdiff_t>(row) *
                                                                   xi->bytes_per_line);
            for (int col = 0; col < to.width; ++col) out[col] = line[col] & 0x00FFFFFFu;
        } else {
            for (int col = 0; col < to.width; ++col) XPutPixel(xi, col, row, format.toX(line[col]));
        }
    }
    XPutImage(display(), pixmap_, gc_, xi, 0, 0, to.x, to.y, static_cast<unsigned>(to.width),
              static_cast<unsigned>(to.height));
    changed(to);
}

void FltkSurface::printLine(std::string_view text, const Font& font, Colour colour) {
    FltkFont face = fltkFont(font, dotsPerInch_);
    if (pixmap_ != 0 && !text.empty()) {
        unsigned char r, g, b;
        colourParts(colour, r, g, b);
        std::string line(text);
        fl_begin_offscreen(pixmap_);
        fl_font(face.face, face.pixels);
        fl_color(r, g, b);
        fl_draw(line.c_str(), printX_, printY_ + fl_height() - fl_descent());
        int width = static_cast<int>(fl_width(line.c_str())) + 1;
        int height = fl_height();
        fl_end_offscreen();
        changed(intersect({printX_, printY_, width, height}, {0, 0, width_, height_}));
    }
    fl_font(face.face, face.pixels);
    printY_ += fl_height();
    printX_ = 0;
}

void FltkSurface::setPrintPosition(int x, int y) {
    printX_ = x;
    printY_ = y;
}

imaging::Image FltkSurface::snapshot() const {
    imaging::Image result(width_, height_);
    if (pixmap_ == 0) return result;
    XImage* xi = XGetImage(display(), pixmap_, 0, 0, static_cast<unsigned>(width_),
                           static_cast<unsigned>(height_), AllPlanes, ZPixmap);
    if (xi == nullptr) return result;
    PixelFormat format(xi);
    for (int y = 0; y < height_; ++y) {
        imaging::Pixel* out = &result.pixels[static_cast<size_t>(y) * static_cast<size_t>(width_)];
        if (format.plainWords) {
            const auto* in = reinterpret_cast<const uint32_t*>(
                xi->data + static_cast<ptrdiff_t>(y) * xi->bytes_per_line);
            for (int x = 0; x < width_; ++x) out[x] = 0xFF000000u | (in[x] & 0x00FFFFFFu);
        } else {
            for (int x = 0; x < width_; ++x) out[x] = format.fromX(XGetPixel(xi, x, y));
        }
    }
    XDestroyImage(xi);
    return result;
}

const imaging::Image& FltkSurface::cachedSnapshot() const {
    if (snapshotVersion_ != version_) {
        snapshot_ = snapshot();
        snapshotVersion_ = version_;
    }
    return snapshot_;
}

void FltkSurface::present() {
    changed({0, 0, width_, height_});
}

void FltkSurface::copyTo(XId target, _XGC* gc, const PixelRect& rect, int dx, int dy) const {
    PixelRect from = intersect(rect, {0, 0, width_, height_});
    if (from.empty() || pixmap_ == 0) return;
    XCopyArea(display(), pixmap_, target, gc, from.x, from.y, static_cast<unsigned>(from.width),
              static_cast<unsigned>(from.height), dx + (from.x - rect.x), dy + (from.y - rect.y));
}

void FltkSurface::changed(const PixelRect& rect) {
    ++version_;
    if (listener_ && !rect.empty()) listener_(rect);
}

}  // namespace pictavo::platform::fltk
