// pictavo.scr: the screen saver as Windows starts it.

#include <windows.h>

#include "platform/win32/program_arguments.h"
#include "platform/win32/win32_host.h"
#include "startup/main.h"
#include "startup/placeholder_windows.h"
#include "startup/saver_state.h"
#include "startup/saver_windows.h"

namespace {

// The Windows host does not draw picture boxes yet, so the full-screen
// show and the preview open their captioned stand-ins; the dialogs are real.
class WindowsModeWindows : public pictavo::startup::ModeWindows {
public:
    WindowsModeWindows(pictavo::platform::Host& host, pictavo::SaverState& state)
        : dialogs_(host, state), standIns_(host.forms()) {}

    void startSlideShow() override { standIns_.startSlideShow(); }
    void showConfiguration(const char* caption) override { dialogs_.showConfiguration(caption); }
    void loadPreview() override { standIns_.loadPreview(); }
    void showChangePassword() override { dialogs_.showChangePassword(); }

private:
    pictavo::startup::SaverWindows dialogs_;
    pictavo::startup::PlaceholderWindows standIns_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace pictavo;
    std::string_view commandLine = platform::win32::argumentsAfterProgramName(GetCommandLineA());

    platform::win32::Win32Host host;
    SaverState state;
    WindowsModeWindows windows(host, state);
    startup::Main(host, state, windows, commandLine);
    // Returns at once when the mode opened nothing (a second show, or a
    // modal dialog that has already closed).
    host.eventLoop().run();
    return 0;
}
