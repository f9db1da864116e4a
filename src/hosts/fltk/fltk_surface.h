#pragma once
// A picture box's persistent image, held in memory and drawn on by the same
// code as the headless host's surface, so what X shows is what the golden
// frames describe. It remembers the rectangle changed since it was last
// shown; its window puts that on screen once per display frame.

#include <cstdint>
#include <functional>

#include "hosts/fltk/x11_types.h"
#include "hosts/shared/memory_surface.h"
#include "platform/surface.h"

namespace pictavo::platform::fltk {

class ScreenPresenter;

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
    uint64_t area() const {
        return empty() ? 0 : static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
    }
};

// The smallest rectangle holding both; an empty one adds nothing.
PixelRect unite(const PixelRect& a, const PixelRect& b);
PixelRect intersect(const PixelRect& a, const PixelRect& b);

class FltkSurface : public Surface {
  public:
    FltkSurface(int width = 0, int height = 0);
    FltkSurface(const FltkSurface&) = delete;
    FltkSurface& operator=(const FltkSurface&) = delete;

    int width() const override { return pixels_.width(); }
    int height() const override { return pixels_.height(); }
    void resize(int width, int height) override;
    void copyFrom(const Surface& src, int dx, int dy, int w, int h, int sx, int sy) override;
    void stretchFrom(const Surface& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw,
                     int dh) override;
    void clear(Colour colour) override;
    void drawImage(const imaging::Image& image, int x, int y) override;
    // The line is drawn with FLTK's font in a small off-screen pixmap over
    // a copy of the pixels beneath, and read back once.
    void printLine(std::string_view text, const Font& font, Colour colour) override;
    int printY() const override { return printY_; }
    void setPrintPosition(int x, int y) override;
    imaging::Image snapshot() const override { return pixels_.image(); }
    // Nothing to do: the changes are collected as they are drawn, and the
    // event loop presents them once per display frame (a transition calls
    // this at every step).
    void present() override {}

    // Resizes keeping what fits, the rest filled with background: a picture
    // box that grows keeps its picture.
    void resizeKeeping(int width, int height, Colour background);
    // Called with the changed rectangle after every drawing operation.
    void setChangeListener(std::function<void(const PixelRect&)> listener) {
        listener_ = std::move(listener);
    }
    // The rectangle changed since the last call, and forgets it.
    PixelRect takeChanges();
    // Puts the rectangle at (dx, dy) of a window or pixmap; gc is the
    // caller's, with its clipping.
    void copyTo(ScreenPresenter& presenter, XId target, _XGC* gc, const PixelRect& rect, int dx,
                int dy) const;
    void setDotsPerInch(double dotsPerInch) { dotsPerInch_ = dotsPerInch; }
    const imaging::Image& pixels() const { return pixels_.image(); }

  private:
    void changed(const PixelRect& rect);
    PixelRect bounds() const { return {0, 0, width(), height()}; }

    MemorySurface pixels_;
    int printX_ = 0;
    int printY_ = 0;
    double dotsPerInch_ = 96;
    PixelRect changes_;
    std::function<void(const PixelRect&)> listener_;
};

}  // namespace pictavo::platform::fltk
