#pragma once
// pictavo-render transition: runs one effect between two pictures and
// writes the result, the frames and the trace of drawing calls.

#include "app/render/subcommand.h"

namespace pictavo::render {

int runTransitionCommand(const std::vector<std::string>& arguments, const RenderServices& services);

inline constexpr Subcommand kTransitionCommand{
    "transition",
    "--effect N --size WxH [--from FILE] [--to FILE] [--stretch] [--screen WxH] [--speed S] "
    "[--seed N]\n"
    "      [--out FILE.png] [--frames DIR [--every K]] [--trace FILE]\n"
    "      Runs effect N (0 to 42) on a WxH picture box. --from is on screen at the start, --to "
    "is\n"
    "      staged (pictures in any format the saver reads, drawn at the top left, or scaled to "
    "the\n"
    "      box with --stretch; without them two generated pictures). --screen is the screen the\n"
    "      stretch effects measure (default: --size). --out writes the picture after the\n"
    "      transition; --frames writes frame_000000.png (the start), one frame at every K-th\n"
    "      pause, and the end; --trace writes one line per drawing call and pause:\n"
    "      copy DX DY W H SX SY, stretch DX DY W H, delay UNITS.",
    runTransitionCommand,
};

}  // namespace pictavo::render
