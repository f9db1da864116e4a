#pragma once
// What the core last set on a control, starting from its layout row, and
// what the user last did to it. The native side shows it; nothing else
// holds a control's properties.

#include <optional>
#include <string>
#include <vector>

#include "platform/layout.h"
#include "platform/types.h"

namespace pictavo::platform {

struct ControlState {
    explicit ControlState(const ControlSpec& design)
        : caption(design.caption),
          value(design.value),
          enabled(design.enabled),
          visible(design.visible),
          rect(design.rect),
          interval(design.intervalMs),
          fillStyle(design.fillStyle),
          fillColour(design.fillColour),
          foreColour(design.foreColour) {}

    // An index outside the items selects nothing.
    void select(int index) {
        selected = index >= 0 && index < static_cast<int>(items.size()) ? index : -1;
    }

    std::string caption;
    std::string text;
    int value;
    bool enabled;
    bool visible;
    TwipsRect rect;
    int interval;
    std::vector<std::string> items;
    std::vector<int> indents;  // per row, in steps; empty: none indented
    int selected = -1;
    int fillStyle;
    std::optional<Colour> fillColour;
    std::optional<Colour> foreColour;
};

}  // namespace pictavo::platform
