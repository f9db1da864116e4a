#pragma once
// One row of a window's layout table, with the fields every row has.

#include <string>
#include <utility>

#include "platform/layout.h"

namespace pictavo::slideshow {

inline platform::ControlSpec makeControl(std::string name, platform::ControlKind kind,
                                         platform::TwipsRect rect, std::string caption = {}) {
    platform::ControlSpec spec;
    spec.name = std::move(name);
    spec.kind = kind;
    spec.rect = rect;
    spec.caption = std::move(caption);
    return spec;
}

}  // namespace pictavo::slideshow
