#include "startup/main.h"

#include "common/numbers.h"
#include "settings/settings.h"
#include "slideshow/slide_window.h"
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

namespace {

// The one place the generator is seeded: every show starts here.
void startShow(platform::Host& host, SaverState& state, ModeWindows& windows) {
    state.random.seed(host.clock().seedFromWallClock());
    windows.startSlideShow();
}

}  // namespace

void Main(platform::Host& host, SaverState& state, ModeWindows& windows,
          std::string_view commandLine) {
    Main(host, state, windows, parseCommandLine(commandLine));
}

void Main(platform::Host& host, SaverState& state, ModeWindows& windows,
          const CommandLine& parsed) {
    measureScreen(host.screen(), state);
    loadSettings(host, state);

    switch (parsed.mode) {
        case Mode::Show:
            // A show already running owns the screen; this process just ends.
            if (!NoWindowTitled(host.windows(), slideshow::kSlideWindowCaption)) return;
            startShow(host, state, windows);
            return;
        case Mode::HostedShow:
            // The daemon runs a show per screen and a preview side by side,
            // each in its own window: no single-instance test.
            startShow(host, state, windows);
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
