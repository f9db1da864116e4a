#pragma once
// A picture box's persistent image held in memory: the surface of the
// headless host and of pictavo-render, and the reference every other host's
// blits are compared with.

#include <cstdint>

#include "hosts/shared/frame_sink.h"
#include "imaging/image.h"
#include "platform/surface.h"

namespace pictavo::platform {

class MemorySurface final : public Surface {
  public:
    MemorySurface() = default;
    MemorySurface(int width, int height, imaging::Pixel fill = imaging::rgb(0, 0, 0));
    explicit MemorySurface(imaging::Image image);

    int width() const override { return image_.width; }
    int height() const override { return image_.height; }
    // The new content is black.
    void resize(int width, int height) override;

    // Clipped like a block transfer: rows are moved with memmove, so src may
    // be this surface and the rectangles may overlap.
    void copyFrom(const Surface& src, int dx, int dy, int w, int h, int sx, int sy) override;
    // Nearest-neighbour scaling; equal sizes are an exact copy. Sizes that
    // are zero or negative draw nothing (no mirroring).
    void stretchFrom(const Surface& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw,
                     int dh) override;

    void clear(Colour colour) override;
    void drawImage(const imaging::Image& image, int x, int y) override;

    // The built-in bitmap font, scaled to the font's pixel height at 96 dpi;
    // the font's face is not looked at.
    void printLine(std::string_view text, const Font& font, Colour colour) override;
    int printY() const override { return printY_; }
    void setPrintPosition(int x, int y) override {
        printX_ = x;
        printY_ = y;
    }

    imaging::Image snapshot() const override { return image_; }
    // Hands the pixels to the frame sink, if there is one; otherwise nothing.
    void present() override {
        if (sink_ != nullptr) sink_->framePresented(*this);
    }
    // Where present() sends the frames; nullptr for nowhere. Copies of the
    // surface send theirs to the same sink.
    void setFrameSink(FrameSink* sink) { sink_ = sink; }

    const imaging::Image& image() const { return image_; }
    // Pixels written by copyFrom and stretchFrom so far, after clipping.
    uint64_t pixelsBlitted() const { return pixelsBlitted_; }

  private:
    const imaging::Image& sourceImage(const Surface& src, imaging::Image& fallback) const;

    imaging::Image image_;
    int printX_ = 0;
    int printY_ = 0;
    uint64_t pixelsBlitted_ = 0;
    FrameSink* sink_ = nullptr;
};

// Line height in pixels of a font on the in-memory surfaces: its size in
// points at 96 dots per inch, at least one pixel.
int fontPixelHeight(const Font& font);

}  // namespace pictavo::platform
