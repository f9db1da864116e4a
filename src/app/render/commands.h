#pragma once
// The slide show's pictavo-render subcommands. Each takes the arguments
// after its own name and returns the exit status: 0 done, 1 the picture or
// an output file failed, 2 bad arguments (one line on the error stream).
//
//   decode FILE [--out OUT.png] [--no-ghostscript]
//   slide FILE --size WxH [--stretch] [--out OUT.png]
//   show --folder DIR --size WxH --seconds N [--interval N] [--stretch]
//        [--seed N] [--trace FILE] [--out-dir DIR]

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "imaging/decoder.h"
#include "platform/host.h"
#include "slideshow/transition_runner.h"
#include "state/saver_state.h"

namespace pictavo::render {

struct RenderServices {
    // The system libraries' decoders (JPEG, PNG, TIFF); the codec adds its own.
    std::function<imaging::DecoderList()> decoders;
    // The transition engine for a show; without it every transition is a cut.
    std::function<std::unique_ptr<slideshow::TransitionRunner>(platform::Host&, SaverState&)>
        transitions;
    // Draws EPS pictures; without it they show their embedded preview.
    std::shared_ptr<const imaging::PostScriptRenderer> postScript;
};

int runDecodeCommand(const std::vector<std::string>& args, const RenderServices& services = {});
int runSlideCommand(const std::vector<std::string>& args, const RenderServices& services = {});
int runShowCommand(const std::vector<std::string>& args, const RenderServices& services = {});

}  // namespace pictavo::render
