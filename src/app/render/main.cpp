// pictavo-render: renders what the saver draws to files, without a display.
// Each subcommand lives in its own file and is listed in the table below.

#include <array>
#include <cstdio>
#include <string_view>
#include <vector>

#include "app/render/slideshow_commands.h"
#include "app/render/subcommand.h"
#include "app/render/transition_command.h"

namespace {

using pictavo::render::Subcommand;

constexpr std::array kSubcommands = {
    pictavo::render::kTransitionCommand,
    pictavo::render::kDecodeCommand,
    pictavo::render::kSlideCommand,
    pictavo::render::kShowCommand,
};

void printUsage(std::FILE* out) {
    std::fprintf(out, "usage:\n");
    for (const Subcommand& command : kSubcommands)
        std::fprintf(out, "  pictavo-render %.*s %.*s\n", static_cast<int>(command.name.size()),
                     command.name.data(), static_cast<int>(command.usage.size()),
                     command.usage.data());
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> arguments(argv + 1, argv + argc);
    if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h") {
        printUsage(arguments.empty() ? stderr : stdout);
        return arguments.empty() ? pictavo::render::kExitBadArguments : pictavo::render::kExitOk;
    }
    for (const Subcommand& command : kSubcommands)
        if (command.name == arguments[0])
            return command.run(std::span<const std::string_view>(arguments).subspan(1));
    std::fprintf(stderr, "pictavo-render: unknown subcommand '%.*s'\n",
                 static_cast<int>(arguments[0].size()), arguments[0].data());
    printUsage(stderr);
    return pictavo::render::kExitBadArguments;
}
