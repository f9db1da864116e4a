#include "hosts/fltk/graphic_widgets.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "hosts/fltk/fltk_style.h"

namespace pictavo::platform::fltk {

namespace {
constexpr int kSolid = 0;
constexpr int kTransparent = 1;
constexpr double kHatchSpacingAt96Dpi = 8;
}  // namespace

int LabelBox::wholeLinesHeight(int height, int visible, int lineHeight) {
    if (visible >= height || lineHeight <= 0) return height;
    return std::max(0, visible) / lineHeight * lineHeight;
}

int LabelBox::lineHeight() const {
    fl_font(labelfont(), labelsize());
    return fl_height();
}

void LabelBox::draw() {
    draw_box();
    const Fl_Window* shownIn = window();
    int visible = shownIn != nullptr ? shownIn->h() - y() : h();
    int shown = wholeLinesHeight(h(), visible, lineHeight());
    if (shown <= 0) return;
    fl_push_clip(x(), y(), w(), shown);
    draw_label();
    fl_pop_clip();
}

ShapeWidget::ShapeWidget(int x, int y, int width, int height, Colour border)
    : Fl_Widget(x, y, width, height), border_(border) {
    box(FL_NO_BOX);
}

void ShapeWidget::setFill(int style, Colour colour) {
    fillStyle_ = style;
    fill_ = colour;
}

void ShapeWidget::setDotsPerInch(double dotsPerInch) {
    hatchSpacing_ =
        std::max(2, static_cast<int>(std::lround(kHatchSpacingAt96Dpi * dotsPerInch / 96)));
}

void ShapeWidget::draw() {
    if (fillStyle_ == kSolid) {
        fl_color(fltkColour(fill_));
        fl_rectf(x(), y(), w(), h());
    } else if (fillStyle_ != kTransparent) {
        drawHatch();
    }
    fl_color(fltkColour(border_));
    fl_rect(x(), y(), w(), h());
}

// Styles 2..7: horizontal, vertical, both diagonals, cross, diagonal cross.
void ShapeWidget::drawHatch() const {
    fl_push_clip(x(), y(), w(), h());
    fl_color(fltkColour(fill_));
    int span = w() + h();
    bool horizontal = fillStyle_ == 2 || fillStyle_ == 6;
    bool vertical = fillStyle_ == 3 || fillStyle_ == 6;
    bool rising = fillStyle_ == 4 || fillStyle_ == 7;
    bool falling = fillStyle_ == 5 || fillStyle_ == 7;
    for (int i = 0; i < span; i += hatchSpacing_) {
        if (horizontal && i < h()) fl_xyline(x(), y() + i, x() + w());
        if (vertical && i < w()) fl_yxline(x() + i, y(), y() + h());
        if (rising) fl_line(x() + i, y(), x() + i - h(), y() + h());
        if (falling) fl_line(x() + i - h(), y(), x() + i, y() + h());
    }
    fl_pop_clip();
}

LineWidget::LineWidget(int x1, int y1, int x2, int y2, Colour colour)
    : Fl_Widget(0, 0, 1, 1), x1_(0), y1_(0), x2_(0), y2_(0), colour_(colour) {
    box(FL_NO_BOX);
    setEnds(x1, y1, x2, y2);
}

void LineWidget::setEnds(int x1, int y1, int x2, int y2) {
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    resize(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + 1, std::abs(y2 - y1) + 1);
}

void LineWidget::draw() {
    fl_color(fltkColour(colour_));
    fl_line(x1_, y1_, x2_, y2_);
}

}  // namespace pictavo::platform::fltk
