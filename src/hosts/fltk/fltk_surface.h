#pragma once
// A picture box's persistent image as an X pixmap: the transitions' block
// transfers between two such surfaces are server-side copies, and showing
// one in its window is one more copy.

#include <cstdint>
#include <functional>

#include "hosts/fltk/x11_types.h"
#include "platform/surface.h"

namespace pictavo::platform::fltk {

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
};

class FltkSurface : public Surface {
  public:
    FltkSurface(int width = 0, int height = 0);
    ~FltkSurface() override;
    FltkSurface(const FltkSurface&) = delete;
    FltkSurface& operator=(const FltkSurface&) = delete;

    int width() const override { return width_; }
    int height() const override { return height_; }
    void resize(int width, int height) override;
    void copyFrom(const Surface& src, int dx, int dy, int w, int h, int sx, int sy) override;
    void stretchFrom(const Surface& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw,
                     int dh) override;
    void clear(Colour colour) override;
    void drawImage(const imaging::Image& image, int x, int y) override;
    void printLine(std::string_view text, const Font& font, Colour colour) override;
    int printY() const override { return printY_; }
    void setPrintPosition(int x, int y) override;
    imaging::Image snapshot() const override;
    void present() override;

    // Resizes keeping what fits, the rest filled with background: a picture
    // box that grows keeps its picture.
    void resizeKeeping(int width, int height, Colour background);
    // Called with the changed rectangle after every drawing operation, so
    // the window showing the surface can copy it to the screen.
    void setChangeListener(std::function<void(const PixelRect&)> listener) {
        listener_ = std::move(listener);
    }
    // Copies the rectangle to (dx, dy) of a window or pixmap; gc is the
    // caller's, with its clipping.
    void copyTo(XId target, _XGC* gc, const PixelRect& rect, int dx, int dy) const;
    void setDotsPerInch(double dotsPerInch) { dotsPerInch_ = dotsPerInch; }

  private:
    void changed(const PixelRect& rect);
    void putPixels(const imaging::Image& image, const PixelRect& from, int dx, int dy);
    const imaging::Image& cachedSnapshot() const;

    XId pixmap_ = 0;
    _XGC* gc_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int printX_ = 0;
    int printY_ = 0;
    double dotsPerInch_ = 96;
    // Bumped by every change: a stretch that reads the same unchanged source
    // again and again (every step of a stretch reveal) fetches it once.
    uint64_t version_ = 0;
    mutable uint64_t snapshotVersion_ = ~uint64_t{0};
    mutable imaging::Image snapshot_;
    std::function<void(const PixelRect&)> listener_;
};

}  // namespace pictavo::platform::fltk
