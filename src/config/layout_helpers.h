#pragma once
// Small pieces the dialogs' layout tables are written with.

#include <array>
#include <string>
#include <vector>

#include "platform/layout.h"

namespace pictavo::config {

// The one-pixel etched outline of a panel, drawn by four lines just outside
// it: grey along the top and the left, white along the bottom and the right.
// names: top, left, bottom, right.
void addPanelOutline(std::vector<platform::ControlSpec>& controls,
                     const std::array<const char*, 4>& names, const platform::TwipsRect& panel,
                     int twipsPerPixel = 15);

}  // namespace pictavo::config
