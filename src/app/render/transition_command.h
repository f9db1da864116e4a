#pragma once
// pictavo-render transition: runs one effect between two pictures and
// writes the result, the frames and the trace of drawing calls.

#include "app/render/subcommand.h"

namespace pictavo::render {

int runTransitionCommand(std::span<const std::string_view> arguments);

inline constexpr Subcommand kTransitionCommand{
    "transition",
    "--effect N --size WxH [--from FILE] [--to FILE] [--stretch] [--screen WxH] [--speed S] "
    "[--seed N]\n"
    "      [--out FILE.png] [--frames DIR [--every K]] [--trace FILE]\n"
    "      Runs effect N (0 to 42) on a WxH picture box. --from is on screen at the start, --to "
    "is\n"
    "      staged (PNG files, drawn at the top left, or scaled to the box with --stretch; without\n"
    "      them two generated pictures). --screen is the screen the stretch effects measure\n"
    "      (default: --size). --out writes the picture after the transition; --frames writes\n"
    "      frame_000000.png (the start), one frame at every K-th pause, and the end; --trace "
    "writes\n"
    "      one line per drawing call and pause: copy DX DY W H SX SY, stretch DX DY W H, delay "
    "UNITS.",
    runTransitionCommand,
};

}  // namespace pictavo::render
