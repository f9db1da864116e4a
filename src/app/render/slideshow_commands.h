#pragma once
// The slide show's subcommands in the tool's table: decode, slide, show,
// run with the system libraries' decoders and the real transition engine.

#include "app/render/subcommand.h"

namespace pictavo::render {

int runDecodeSubcommand(std::span<const std::string_view> arguments);
int runSlideSubcommand(std::span<const std::string_view> arguments);
int runShowSubcommand(std::span<const std::string_view> arguments);

inline constexpr Subcommand kDecodeCommand{
    "decode",
    "FILE [--out OUT.png] [--no-ghostscript]\n"
    "      Decodes FILE and writes the picture, upright, at its own size; --no-ghostscript\n"
    "      shows an EPS file's preview, as the Windows build does.",
    runDecodeSubcommand};
inline constexpr Subcommand kSlideCommand{
    "slide",
    "FILE --size WxH [--stretch] [--out OUT.png]\n"
    "      Stages FILE for a WxH screen as the slide show does (centred, or stretched) and writes\n"
    "      the staged picture; a file that fails gives the error line and exit status 1.",
    runSlideSubcommand};
inline constexpr Subcommand kShowCommand{
    "show",
    "--folder DIR --size WxH --seconds N [--interval N] [--stretch] [--seed N] [--trace FILE]\n"
    "      [--out-dir DIR]\n"
    "      Plays the full-screen show in simulated time; --trace writes one line per event\n"
    "      (MS slide INDEX NAME, MS transition EFFECT, MS text LINE), --out-dir the screen after\n"
    "      each slide change.",
    runShowSubcommand};

}  // namespace pictavo::render
