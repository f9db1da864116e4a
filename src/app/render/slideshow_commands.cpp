#include "app/render/slideshow_commands.h"

#include <string>
#include <vector>

#include "adapters/ghostscript/eps_ghostscript.h"
#include "adapters/ghostscript/ghostscript_sandbox.h"
#include "adapters/imagelibs/system_decoders.h"
#include "app/render/commands.h"
#include "slideshow/engine_transitions.h"

namespace pictavo::render {

namespace {
std::vector<std::string> toStrings(std::span<const std::string_view> arguments) {
    return {arguments.begin(), arguments.end()};
}

RenderServices realServices() {
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

int runDecodeSubcommand(std::span<const std::string_view> arguments) {
    return runDecodeCommand(toStrings(arguments), realServices());
}

int runSlideSubcommand(std::span<const std::string_view> arguments) {
    return runSlideCommand(toStrings(arguments), realServices());
}

int runShowSubcommand(std::span<const std::string_view> arguments) {
    return runShowCommand(toStrings(arguments), realServices());
}

}  // namespace pictavo::render
