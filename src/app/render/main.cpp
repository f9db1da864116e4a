// pictavo-render: renders what the saver draws to files, without a display.
// Each subcommand lives in its own file and is listed in the table below;
// all run with the system libraries' decoders, Ghostscript for EPS and the
// real transition engine.

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "adapters/ghostscript/eps_ghostscript.h"
#include "adapters/ghostscript/ghostscript_sandbox.h"
#include "adapters/imagelibs/system_decoders.h"
#include "app/render/commands.h"
#include "app/render/subcommand.h"
#include "app/render/transition_command.h"
#include "slideshow/engine_transitions.h"

namespace {

using pictavo::render::RenderServices;
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

RenderServices realServices() {
    using namespace pictavo;
    RenderServices services;
    services.decoders = [] { return platform::systemDecoders(); };
    services.transitions = [](platform::Host& host,
                              SaverState& state) -> std::unique_ptr<slideshow::TransitionRunner> {
        return std::make_unique<slideshow::EngineTransitions>(host, state);
    };
    services.postScript = std::make_shared<platform::GhostscriptRenderer>();
    // SIGTERM or SIGINT in the middle of a render still ends Ghostscript and
    // removes its folder before the program ends as the signal asks.
    platform::cleanUpSandboxesOnTermination();
    return services;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h") {
        printUsage(arguments.empty() ? stderr : stdout);
        return arguments.empty() ? pictavo::render::kExitBadArguments : pictavo::render::kExitOk;
    }
    for (const Subcommand& command : kSubcommands)
        if (command.name == arguments[0])
            return command.run({arguments.begin() + 1, arguments.end()}, realServices());
    std::fprintf(stderr, "pictavo-render: unknown subcommand '%s'\n", arguments[0].c_str());
    printUsage(stderr);
    return pictavo::render::kExitBadArguments;
}
