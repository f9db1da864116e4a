#pragma once
// One row of a window's layout table, with the fields every row has.

#include <string>
#include <utility>

#include "platform/layout.h"

namespace pictavo::slideshow {

inline platform::ControlSpec makeControl(std::string name, platform::ControlKind kind,
                                         platform::TwipsRect rect, std::string caption = {}) {
    platform::ControlSpec design;
    design.name = std::move(name);
    design.kind = kind;
    design.rect = rect;
    design.caption = std::move(caption);
    return design;
}

}  // namespace pictavo::slideshow
