// pictavo: the slide-show screen saver on the Linux desktop.

#include <cstdio>
#include <string>
#include <vector>

#include "app/linux/information.h"
#include "app/linux/linux_arguments.h"
#include "hosts/fltk/fltk_host.h"
#include "startup/main.h"
#include "startup/saver_windows.h"

namespace {

using pictavo::app::DrawTarget;

int fail(const std::string& message) {
    std::fprintf(stderr, "pictavo: %s\n", message.c_str());
    return 2;
}

// A text asked for on standard output; a full disk or a closed pipe is a failure.
int print(const std::string& text) {
    return std::fputs(text.c_str(), stdout) < 0 || std::fflush(stdout) != 0 ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    switch (pictavo::app::informationAskedFor(words)) {
        case pictavo::app::Information::Usage:
            return print(pictavo::app::usageText());
        case pictavo::app::Information::Version:
            return print(pictavo::app::versionText());
        case pictavo::app::Information::None:
            break;
    }
    auto arguments = pictavo::app::parseLinuxArguments(words);
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
        pictavo::startup::Main(host, state, windows,
                               pictavo::startup::CommandLine{pictavo::startup::Mode::HostedShow});
    }
    host.eventLoop().run();
    return 0;
}
