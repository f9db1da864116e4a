// pictavo.scr: the screen saver as Windows starts it.

#include <windows.h>

#include <cstdlib>
#include <fstream>

#include "hosts/win32/program_arguments.h"
#include "hosts/win32/win32_host.h"
#include "startup/main.h"
#include "startup/saver_windows.h"
#include "state/saver_state.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace pictavo;
    std::string_view commandLine = platform::win32::argumentsAfterProgramName(GetCommandLineA());

    platform::win32::Win32Host host;
    SaverState state;
    // PICTAVO_TRACE=FILE: the show writes its record there (a saver gets no
    // command-line options of ours). A file that cannot be written is no
    // reason to refuse the show.
    std::ofstream trace;
    if (const char* file = std::getenv("PICTAVO_TRACE"); file != nullptr && file[0] != '\0') {
        trace.open(file);
    }
    startup::SaverWindows windows(host, state);
    if (trace.is_open() && trace) windows.setShowTrace(&trace);
    startup::Main(host, state, windows, commandLine);
    // Returns at once when the mode opened nothing (a second show, or a
    // modal dialog that has already closed).
    host.eventLoop().run();
    return 0;
}
