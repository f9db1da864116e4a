#pragma once
// The persistent image of a picture box (and of a form's background): a
// 32-bit top-down DIB section selected into a memory device context. The
// transitions' block transfers and stretches run the shared pixel loops on
// its bits, as every host's picture boxes do; only text goes through GDI.
// The window that shows one repaints from it.

#include <windows.h>

#include <functional>

#include "hosts/shared/pixel_blits.h"
#include "hosts/win32/frame_gate.h"
#include "platform/surface.h"

namespace pictavo::platform::win32 {

class DibSurface final : public Surface {
  public:
    DibSurface(int width, int height, Colour fill);
    ~DibSurface() override;
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

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
    // Hands the pixels changed since the last call to the presenter; with a
    // frame gate, only when a display frame has passed since the last
    // present (the gate holds it until then).
    void present() override;
    // Hands the changes over whatever the time.
    void presentNow();
    void setFrameGate(FrameGate* gate) { gate_ = gate; }

    // The memory device context holding the pixels, for painting a window.
    HDC dc() const { return dc_; }
    // Told which rectangle changed; the owning window invalidates it.
    void setPresenter(std::function<void(const RECT& changed)> presenter) {
        presenter_ = std::move(presenter);
    }
    // A new size that keeps the pixels still inside it; new parts show fill.
    void resizeKeeping(int width, int height, Colour fill);

    // The bits as they are, for the CPU: 0xAARRGGBB words, top row first,
    // whose alpha byte keeps what was drawn but shows nowhere.
    PixelView pixels();
    ConstPixelView pixels() const;

  private:
    static ConstPixelView sourcePixels(const Surface& src, imaging::Image& fallback);
    void allocate(int width, int height);
    void release();
    void markChanged(int x, int y, int w, int h);

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ originalBitmap_ = nullptr;
    uint32_t* bits_ = nullptr;  // BGRA, top row first
    int width_ = 0;
    int height_ = 0;
    int printX_ = 0;
    int printY_ = 0;
    RECT changed_{};
    bool anyChange_ = false;
    std::function<void(const RECT&)> presenter_;
    FrameGate* gate_ = nullptr;
};

// 0xFFRRGGBB, the pixel a colour is painted with.
uint32_t pixelOf(Colour colour);

}  // namespace pictavo::platform::win32
