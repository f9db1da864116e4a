#include "hosts/fltk/fltk_surface.h"

#include <FL/Fl.H>
#include <FL/Fl_Device.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/Xutil.h>

#include <algorithm>
#include <string>

#include "hosts/fltk/fltk_style.h"
#include "hosts/fltk/screen_presenter.h"
#include "hosts/fltk/x11_display.h"
#include "hosts/fltk/x_pixel_format.h"

namespace pictavo::platform::fltk {

PixelRect unite(const PixelRect& a, const PixelRect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    int left = std::min(a.x, b.x), top = std::min(a.y, b.y);
    int right = std::max(a.x + a.width, b.x + b.width),
        bottom = std::max(a.y + a.height, b.y + b.height);
    return {left, top, right - left, bottom - top};
}

PixelRect intersect(const PixelRect& a, const PixelRect& b) {
    int left = std::max(a.x, b.x), top = std::max(a.y, b.y);
    int right = std::min(a.x + a.width, b.x + b.width),
        bottom = std::min(a.y + a.height, b.y + b.height);
    return {left, top, right - left, bottom - top};
}

namespace {

const FltkSurface* asFltk(const Surface& surface) {
    return dynamic_cast<const FltkSurface*>(&surface);
}

// Reads the rectangle of an off-screen pixmap into (x, y) of image.
void readBack(XId pixmap, int width, int height, imaging::Image& image, int x, int y) {
    XImage* xi = XGetImage(display(), pixmap, 0, 0, static_cast<unsigned>(width),
                           static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (xi == nullptr) return;
    XPixelFormat format(fl_visual->visual, xi);
    for (int row = 0; row < height; ++row)
        format.fromRow(
            xi, 0, row, width,
            &image.pixels[static_cast<size_t>(y + row) * static_cast<size_t>(image.width) +
                          static_cast<size_t>(x)]);
    XDestroyImage(xi);
}

}  // namespace

FltkSurface::FltkSurface(int width, int height) : pixels_(width, height) {}

void FltkSurface::resize(int width, int height) {
    pixels_.resize(width, height);
    changed(bounds());
}

void FltkSurface::resizeKeeping(int width, int height, Colour background) {
    if (width == this->width() && height == this->height()) return;
    MemorySurface grown(std::max(width, 0), std::max(height, 0));
    grown.clear(background);
    grown.copyFrom(pixels_, 0, 0, this->width(), this->height(), 0, 0);
    pixels_ = std::move(grown);
    changed(bounds());
}

void FltkSurface::copyFrom(const Surface& src, int dx, int dy, int w, int h, int sx, int sy) {
    if (w <= 0 || h <= 0) return;
    const FltkSurface* fltkSource = asFltk(src);
    const Surface& source = fltkSource != nullptr ? fltkSource->pixels_ : src;
    pixels_.copyFrom(source, dx, dy, w, h, sx, sy);
    // What was written: the rectangle clipped to both surfaces.
    PixelRect from = intersect({sx, sy, w, h}, {0, 0, source.width(), source.height()});
    changed(intersect({dx + (from.x - sx), dy + (from.y - sy), from.width, from.height}, bounds()));
}

void FltkSurface::stretchFrom(const Surface& src, int sx, int sy, int sw, int sh, int dx, int dy,
                              int dw, int dh) {
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
    const FltkSurface* fltkSource = asFltk(src);
    pixels_.stretchFrom(fltkSource != nullptr ? fltkSource->pixels_ : src, sx, sy, sw, sh, dx, dy,
                        dw, dh);
    changed(intersect({dx, dy, dw, dh}, bounds()));
}

void FltkSurface::clear(Colour colour) {
    pixels_.clear(colour);
    changed(bounds());
}

void FltkSurface::drawImage(const imaging::Image& image, int x, int y) {
    if (image.empty()) return;
    pixels_.drawImage(image, x, y);
    changed(intersect({x, y, image.width, image.height}, bounds()));
}

void FltkSurface::printLine(std::string_view text, const Font& font, Colour colour) {
    FltkFont face = fltkFont(font, dotsPerInch_);
    fl_font(face.face, face.pixels);
    const int lineHeight = fl_height();
    if (!text.empty()) {
        std::string line(text);
        PixelRect area = intersect(
            {printX_, printY_, static_cast<int>(fl_width(line.c_str())) + 1, lineHeight}, bounds());
        if (!area.empty()) {
            // On a transparent background: what lies beneath goes into the
            // pixmap first, the text over it, and the whole comes back.
            MemorySurface beneath(area.width, area.height);
            beneath.copyFrom(pixels_, 0, 0, area.width, area.height, area.x, area.y);
            Fl_Offscreen offscreen = fl_create_offscreen(area.width, area.height);
            GC gc = XCreateGC(display(), offscreen, 0, nullptr);
            ScreenPresenter presenter;
            presenter.put(beneath.image(), {0, 0, area.width, area.height}, offscreen, gc, 0, 0);
            unsigned char r, g, b;
            colourParts(colour, r, g, b);
            fl_begin_offscreen(offscreen);
            fl_font(face.face, face.pixels);
            fl_color(r, g, b);
            fl_draw(line.c_str(), printX_ - area.x, printY_ - area.y + lineHeight - fl_descent());
            fl_end_offscreen();
            imaging::Image drawn(area.width, area.height);
            readBack(offscreen, area.width, area.height, drawn, 0, 0);
            pixels_.drawImage(drawn, area.x, area.y);
            XFreeGC(display(), gc);
            fl_delete_offscreen(offscreen);
            changed(area);
        }
    }
    printY_ += lineHeight;
    printX_ = 0;
}

void FltkSurface::setPrintPosition(int x, int y) {
    printX_ = x;
    printY_ = y;
}

PixelRect FltkSurface::takeChanges() {
    PixelRect taken = changes_;
    changes_ = {};
    return taken;
}

void FltkSurface::copyTo(ScreenPresenter& presenter, XId target, _XGC* gc, const PixelRect& rect,
                         int dx, int dy) const {
    presenter.put(pixels_.image(), rect, target, gc, dx, dy);
}

void FltkSurface::changed(const PixelRect& rect) {
    if (rect.empty()) return;
    changes_ = unite(changes_, rect);
    if (listener_) listener_(rect);
}

}  // namespace pictavo::platform::fltk
