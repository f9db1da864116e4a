#include "config/layout_helpers.h"

#include "config/colours.h"

namespace pictavo::config {

void addPanelOutline(std::vector<platform::ControlSpec>& controls,
                     const std::array<const char*, 4>& names, const platform::TwipsRect& panel,
                     int twipsPerPixel) {
    using platform::ControlKind;
    const int left = panel.left - twipsPerPixel, top = panel.top - twipsPerPixel;
    const int right = panel.left + panel.width, bottom = panel.top + panel.height;
    const platform::TwipsRect edges[4] = {
        {left, top, right - left, 0},
        {left, top, 0, bottom - top},
        {left, bottom, right - left, 0},
        {right, top, 0, bottom - top},
    };
    for (size_t i = 0; i < 4; ++i)
        controls.push_back({.name = names[i],
                            .kind = ControlKind::Line,
                            .rect = edges[i],
                            .borderColour = i < 2 ? kGrey : kWhite});
}

}  // namespace pictavo::config
