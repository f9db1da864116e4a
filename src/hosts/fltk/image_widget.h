#pragma once
// An Image control: one of the program's pictures drawn on its container,
// at its own size from the top-left corner or stretched to the box.
// Transparent pixels show the container's colour, which the picture is
// blended over once, so a redraw costs one image transfer.

#include <FL/Fl_Widget.H>

#include <vector>

#include "imaging/image.h"
#include "platform/types.h"

namespace pictavo::platform::fltk {

class ImageWidget : public Fl_Widget {
  public:
    ImageWidget(int x, int y, int width, int height);
    void setPicture(imaging::Image picture, bool stretch, Colour under);
    void draw() override;

    // The RGB bytes drawn for a box of this size (width x height x 3).
    static std::vector<unsigned char> compose(const imaging::Image& picture, bool stretch,
                                              Colour under, int width, int height);

  private:
    imaging::Image picture_;
    bool stretch_ = false;
    Colour under_ = 0;
    std::vector<unsigned char> composed_;
    int composedWidth_ = -1;
    int composedHeight_ = -1;
};

}  // namespace pictavo::platform::fltk
