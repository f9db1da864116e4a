#pragma once
// The controls that are only drawn on their container: rectangle shapes,
// lines and images. They take no input and have no window of their own.

#include <FL/Fl_Box.H>
#include <FL/Fl_Widget.H>

#include "platform/types.h"

namespace pictavo::platform::fltk {

// A label's caption: "&" marks the access key (underlined) and "&&" is an
// ampersand, as on a button; FLTK boxes would show the "&" itself.
class LabelBox : public Fl_Box {
  public:
    LabelBox(int x, int y, int width, int height) : Fl_Box(x, y, width, height) {
        set_flag(SHORTCUT_LABEL);
    }
    // A label cut off by its window's edge shows the lines that fit whole
    // and none of the next: half a line of text reads as a smudge.
    void draw() override;
    // The height of one line of the label's text in its font.
    int lineHeight() const;
    // Pixels of the label's height that hold whole lines of lineHeight,
    // with visible pixels of it inside the window; all of it when it fits.
    static int wholeLinesHeight(int height, int visible, int lineHeight);
};

class ShapeWidget : public Fl_Widget {
  public:
    ShapeWidget(int x, int y, int width, int height, Colour border);
    void setFill(int style, Colour colour);
    void setBorderColour(Colour colour) { border_ = colour; }
    // Hatches keep their spacing to the shape at any density, as the rest
    // of the window scales: 8 pixels apart at 96 dpi.
    void setDotsPerInch(double dotsPerInch);
    void draw() override;

  private:
    void drawHatch() const;

    Colour border_;
    int hatchSpacing_ = 8;
    Colour fill_ = 0;
    int fillStyle_ = 1;  // transparent
};

// From one corner of its rectangle to the other; the widget covers the
// bounding box, at least one pixel each way.
class LineWidget : public Fl_Widget {
  public:
    LineWidget(int x1, int y1, int x2, int y2, Colour colour);
    void setEnds(int x1, int y1, int x2, int y2);
    void setColour(Colour colour) { colour_ = colour; }
    void draw() override;

  private:
    int x1_, y1_, x2_, y2_;
    Colour colour_;
};

}  // namespace pictavo::platform::fltk
