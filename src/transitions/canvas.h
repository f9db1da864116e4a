#pragma once
// The four drawing calls every effect is made of, from Picture1 (the staged
// slide) to Picture2 (the one on screen). Effects hand over exact values;
// every coordinate and size is rounded here, at the call, half to even, by
// one rule. A value too large for the call skips it, as a failing statement
// is skipped inside an effect.

#include <cstdint>

#include "platform/surface.h"
#include "transitions/trace.h"

namespace pictavo::transitions {

class Canvas {
  public:
    Canvas(platform::Surface& picture1, platform::Surface& picture2, TraceSink* trace)
        : picture1_(picture1), picture2_(picture2), trace_(trace) {}

    // Read afresh at every use: nothing is cached between steps.
    int W1() const { return picture1_.width(); }
    int H1() const { return picture1_.height(); }
    int W2() const { return picture2_.width(); }
    int H2() const { return picture2_.height(); }

    // copy (x, y, w, h): that rectangle of Picture1 to the same place.
    void copy(double x, double y, double w, double h);
    // copy band (sx, sy) to (x, y, w, h).
    void copyBand(double sx, double sy, double x, double y, double w, double h);
    // draw at (x, y): all of Picture1 with its top-left corner at (x, y).
    void drawAt(double x, double y);
    // stretch-draw (x, y, w, h): the image held by Picture1, source
    // rectangle (0, 0, imageWidth, imageHeight), scaled into the rectangle.
    void stretchDraw(double x, double y, double w, double h, int imageWidth, int imageHeight);

    // Lets the window system show what Picture2 holds now.
    void present() { picture2_.present(); }

  private:
    void transfer(double dx, double dy, double w, double h, double sx, double sy);

    platform::Surface& picture1_;
    platform::Surface& picture2_;
    TraceSink* trace_;
};

}  // namespace pictavo::transitions
