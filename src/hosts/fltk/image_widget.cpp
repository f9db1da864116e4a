#include "hosts/fltk/image_widget.h"

#include <FL/fl_draw.H>

#include <algorithm>

#include "hosts/fltk/fltk_style.h"

namespace pictavo::platform::fltk {

namespace {

unsigned char blend(unsigned int over, unsigned int under, unsigned int alpha) {
    return static_cast<unsigned char>((over * alpha + under * (255 - alpha) + 127) / 255);
}

}  // namespace

ImageWidget::ImageWidget(int x, int y, int width, int height) : Fl_Widget(x, y, width, height) {
    box(FL_NO_BOX);
}

void ImageWidget::setPicture(imaging::Image picture, bool stretch, Colour under) {
    picture_ = std::move(picture);
    stretch_ = stretch;
    under_ = under;
    composedWidth_ = composedHeight_ = -1;
}

std::vector<unsigned char> ImageWidget::compose(const imaging::Image& picture, bool stretch,
                                                Colour under, int width, int height) {
    std::vector<unsigned char> rgb(static_cast<size_t>(std::max(0, width)) *
                                   static_cast<size_t>(std::max(0, height)) * 3);
    if (picture.empty() || width <= 0 || height <= 0) return rgb;
    unsigned char underRed = 0, underGreen = 0, underBlue = 0;
    colourParts(under, underRed, underGreen, underBlue);
    size_t at = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x, at += 3) {
            int sx =
                stretch ? static_cast<int>(static_cast<int64_t>(x) * picture.width / width) : x;
            int sy =
                stretch ? static_cast<int>(static_cast<int64_t>(y) * picture.height / height) : y;
            bool inside = sx < picture.width && sy < picture.height;
            imaging::Pixel p = inside ? picture.at(sx, sy) : 0;
            unsigned int alpha = p >> 24;
            rgb[at] = blend(imaging::red(p), underRed, alpha);
            rgb[at + 1] = blend(imaging::green(p), underGreen, alpha);
            rgb[at + 2] = blend(imaging::blue(p), underBlue, alpha);
        }
    }
    return rgb;
}

void ImageWidget::draw() {
    draw_box();
    if (picture_.empty()) return;
    // Unstretched, the box shows as much of the picture as it holds.
    int width = stretch_ ? w() : std::min(w(), picture_.width);
    int height = stretch_ ? h() : std::min(h(), picture_.height);
    if (width <= 0 || height <= 0) return;
    if (width != composedWidth_ || height != composedHeight_) {
        composed_ = compose(picture_, stretch_, under_, width, height);
        composedWidth_ = width;
        composedHeight_ = height;
    }
    fl_draw_image(composed_.data(), x(), y(), width, height, 3);
}

}  // namespace pictavo::platform::fltk
