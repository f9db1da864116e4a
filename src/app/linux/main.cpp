// pictavo: the slide-show screen saver on the Linux desktop.

#include <csignal>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/linux/information.h"
#include "app/linux/linux_arguments.h"
#include "hosts/fltk/fltk_host.h"
#include "startup/command_line.h"
#include "startup/main.h"
#include "startup/saver_windows.h"

namespace {

using pictavo::app::DrawTarget;
using pictavo::app::LinuxArguments;
using pictavo::platform::fltk::FltkEventLoop;
using pictavo::platform::fltk::FltkHost;

constexpr int kNoDisplay = 1;
// An argument that is wrong, or names a window that is not there.
constexpr int kBadArgument = 2;

int fail(const std::string& message, int status = kBadArgument) {
    std::fprintf(stderr, "pictavo: %s\n", message.c_str());
    return status;
}

// A text asked for on standard output; a full disk or a closed pipe is a failure.
int print(const std::string& text) {
    return std::fputs(text.c_str(), stdout) < 0 || std::fflush(stdout) != 0 ? 1 : 0;
}

// "/p" draws into a window another program lends: a caller that names none,
// or one that is not there, is told so at once rather than left waiting for
// a preview that ends by itself.
std::optional<std::string> previewWindowProblem(const LinuxArguments& arguments, FltkHost& host) {
    const auto command = pictavo::startup::parseCommandLine(arguments.commandLine);
    if (command.mode != pictavo::startup::Mode::Preview) return std::nullopt;
    if (arguments.windowNamed.empty())
        return "/p needs the id of the window to draw the preview in";
    if (command.windowHandle == 0 || !host.windows().isWindow(command.windowHandle))
        return "/p " + arguments.windowNamed + ": there is no such window";
    return std::nullopt;
}

// Runs the mode the arguments ask for until its windows are gone; the
// exit status.
int runSaver(const LinuxArguments& arguments) {
    FltkHost host;
    host.eventLoop().endOnTerminationSignals();
    if (auto problem = previewWindowProblem(arguments, host)) return fail(*problem);
    std::ofstream trace;
    if (!arguments.traceFile.empty()) {
        trace.open(arguments.traceFile);
        if (!trace) return fail("--trace: cannot write " + arguments.traceFile);
    }
    pictavo::SaverState state;
    // The window of each mode, the same as on Windows.
    pictavo::startup::SaverWindows windows(host, state);
    if (trace.is_open()) windows.setShowTrace(&trace);

    if (arguments.target == DrawTarget::OwnWindows) {
        pictavo::startup::Main(host, state, windows, arguments.commandLine);
    } else {
        // Every window from here on lives inside the host's window and takes
        // no input; the program ends when that window goes.
        auto embedded =
            arguments.target == DrawTarget::RootWindow
                ? host.embedIntoRoot()
                : host.embedInto(static_cast<pictavo::platform::WindowHandle>(arguments.windowId));
        if (!embedded) {
            const std::string named = arguments.target == DrawTarget::RootWindow
                                          ? "-root"
                                          : "-window-id " + arguments.windowNamed;
            return fail(named + ": " + embedded.error().message);
        }
        pictavo::startup::Main(host, state, windows,
                               pictavo::startup::CommandLine{pictavo::startup::Mode::HostedShow});
    }
    host.eventLoop().run();
    return 0;
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
    if (auto problem = pictavo::platform::fltk::openDisplay()) return fail(*problem, kNoDisplay);

    const int status = runSaver(*arguments);
    if (const int signal = FltkEventLoop::terminationSignal(); signal != 0) {
        // The windows are closed: the program dies of the signal it was sent,
        // as its sender expects.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }
    return status;
}
