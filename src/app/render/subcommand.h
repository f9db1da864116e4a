#pragma once
// One subcommand of pictavo-render: `pictavo-render NAME ARGS...`, and what
// every subcommand is given to work with.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/decoder.h"
#include "platform/host.h"
#include "slideshow/transition_runner.h"
#include "state/saver_state.h"

namespace pictavo::render {

// Exit statuses shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed =
    1;  // the work started and could not finish (a file could not be written)
inline constexpr int kExitBadArguments = 2;  // nothing was written

struct RenderServices {
    // The system libraries' decoders (JPEG, PNG, TIFF); ours are added to them.
    std::function<imaging::DecoderList()> decoders;
    // The transition engine for a show; without it every transition is a cut.
    std::function<std::unique_ptr<slideshow::TransitionRunner>(platform::Host&, SaverState&)>
        transitions;
    // Draws EPS pictures; without it they show their embedded preview.
    std::shared_ptr<const imaging::PostScriptRenderer> postScript;
};

struct Subcommand {
    std::string_view name;
    std::string_view usage;  // the arguments, for the help text
    // The words after the subcommand's name; returns the exit status.
    int (*run)(const std::vector<std::string>& arguments, const RenderServices& services);
};

}  // namespace pictavo::render
