#pragma once
// A picture box's image held in memory.

#include "platform/surface.h"

namespace pictavo::platform {

class MemorySurface : public Surface {
public:
    MemorySurface(int width = 0, int height = 0);

    int width() const override { return image_.width; }
    int height() const override { return image_.height; }
    void resize(int width, int height) override;
    void copyFrom(const Surface& src, int dx, int dy, int w, int h, int sx, int sy) override;
    void stretchFrom(const Surface& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh) override;
    void clear(Colour colour) override;
    void drawImage(const imaging::Image& image, int x, int y) override;
    void printLine(std::string_view text, const Font& font, Colour colour) override;
    int printY() const override { return printY_; }
    void setPrintPosition(int x, int y) override;
    imaging::Image snapshot() const override { return image_; }

    const imaging::Image& image() const { return image_; }

private:
    imaging::Image image_;
    int printX_ = 0;
    int printY_ = 0;
};

}  // namespace pictavo::platform
