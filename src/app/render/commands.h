#pragma once
// The slide show's pictavo-render subcommands. Each takes the arguments
// after its own name and returns the exit status: 0 done, 1 the picture or
// an output file failed, 2 bad arguments (one line on the error stream).

#include <string>
#include <vector>

#include "app/render/subcommand.h"

namespace pictavo::render {

int runDecodeCommand(const std::vector<std::string>& args, const RenderServices& services);
int runSlideCommand(const std::vector<std::string>& args, const RenderServices& services);
int runShowCommand(const std::vector<std::string>& args, const RenderServices& services);

inline constexpr Subcommand kDecodeCommand{
    "decode",
    "FILE [--out OUT.png] [--no-ghostscript]\n"
    "      Decodes FILE and writes the picture, upright, at its own size; --no-ghostscript\n"
    "      shows an EPS file's preview, as the Windows build does.",
    runDecodeCommand};
inline constexpr Subcommand kSlideCommand{
    "slide",
    "FILE --size WxH [--stretch] [--out OUT.png]\n"
    "      Stages FILE for a WxH screen as the slide show does (centred, or stretched) and writes\n"
    "      the staged picture; a file that fails gives the error line and exit status 1.",
    runSlideCommand};
inline constexpr Subcommand kShowCommand{
    "show",
    "--folder DIR --size WxH --seconds N [--interval N] [--stretch] [--seed N] [--trace FILE]\n"
    "      [--out-dir DIR]\n"
    "      Plays the full-screen show in simulated time; --trace writes one line per event\n"
    "      (MS slide INDEX NAME, MS transition EFFECT, MS text LINE), --out-dir the screen after\n"
    "      each slide change.",
    runShowCommand};

}  // namespace pictavo::render
