#pragma once

#include <string>

namespace pictavo::platform {

struct Font {
    std::string face = "MS Sans Serif";
    double points = 8.25;
    bool bold = false;
};

}  // namespace pictavo::platform
