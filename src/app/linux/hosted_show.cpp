#include "app/linux/hosted_show.h"

#include "startup/main.h"

namespace pictavo::app {

void StartHostedShow(platform::Host& host, SaverState& state, startup::ModeWindows& windows) {
    measureScreen(host.screen(), state);
    startup::loadSettings(host, state);
    state.random.seed(host.clock().seedFromWallClock());
    windows.startSlideShow();
}

}  // namespace pictavo::app
