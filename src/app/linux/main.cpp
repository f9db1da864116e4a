// pictavo: the slide-show screen saver on the Linux desktop.

#include <cstdio>
#include <string>
#include <vector>

#include "app/linux/hosted_show.h"
#include "app/linux/linux_arguments.h"
#include "platform/fltk/fltk_host.h"
#include "startup/main.h"
#include "startup/saver_windows.h"

namespace {

using pictavo::app::DrawTarget;

int fail(const std::string& message) {
    std::fprintf(stderr, "pictavo: %s\n", message.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    auto arguments =
        pictavo::app::parseLinuxArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!arguments) return fail(arguments.error().message);

    pictavo::platform::fltk::FltkHost host;
    host.eventLoop().endOnTerminationSignals();
    pictavo::SaverState state;
    // The window of each mode, the same as on Windows.
    pictavo::startup::SaverWindows windows(host, state);

    if (arguments->target == DrawTarget::OwnWindows) {
        pictavo::startup::Main(host, state, windows, arguments->commandLine);
    } else {
        // Every window from here on lives inside the host's window and takes
        // no input; the program ends when that window goes.
        auto embedded =
            arguments->target == DrawTarget::RootWindow
                ? host.embedIntoRoot()
                : host.embedInto(static_cast<pictavo::platform::WindowHandle>(arguments->windowId));
        if (!embedded) return fail(embedded.error().message);
        pictavo::app::StartHostedShow(host, state, windows);
    }
    host.eventLoop().run();
    return 0;
}
