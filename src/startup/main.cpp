#include "startup/main.h"

#include "common/numbers.h"
#include "settings/settings.h"
#include "slideshow/slide_window.h"
#include "startup/command_line.h"
#include "startup/system_queries.h"
#include "state/screen_pixels.h"

namespace pictavo::startup {

void loadSettings(platform::Host& host, SaverState& state) {
    using namespace settings;
    const platform::SettingsStore& store = host.settings();
    state.Interval = loadInt32(store, kSectionPictavo, kKeyInterval, kDefaultInterval);
    state.Stretch = loadInt16(store, kSectionPictavo, kKeyStretch, kDefaultStretch);
    state.Speed = loadInt16(store, kSectionPictavo, kKeySpeed, kDefaultSpeed);
    state.PicturePath =
        loadPicturePath(store, host.defaultPictureFolder(), host.files().separator());
    std::string usePassword =
        ReadRegistryText(host.registry(), kHkeyCurrentUser, kDesktopKey, kUsePasswordValue);
    state.UsePassword = tryInt16(parseLeadingNumber(usePassword)).value_or(0);
    state.Password = loadPassword(store);
}

void Main(platform::Host& host, SaverState& state, ModeWindows& windows,
          std::string_view commandLine) {
    measureScreen(host.screen(), state);
    loadSettings(host, state);

    CommandLine parsed = parseCommandLine(commandLine);
    switch (parsed.mode) {
        case Mode::Show:
            // A show already running owns the screen; this process just ends.
            if (!NoWindowTitled(host.windows(), slideshow::kSlideWindowCaption)) return;
            state.random.seed(host.clock().seedFromWallClock());
            windows.startSlideShow();
            return;
        case Mode::Preview:
            state.PreviewWindow = parsed.windowHandle;
            windows.loadPreview();
            return;
        case Mode::ChangePassword:
            state.PreviewWindow = parsed.windowHandle;
            windows.showChangePassword();
            return;
        case Mode::Configure:
            windows.showConfiguration(kConfigureCaption);
            return;
    }
}

}  // namespace pictavo::startup
