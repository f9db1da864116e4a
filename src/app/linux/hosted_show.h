#pragma once
// The show a screen-saver host asks for in its own window (-window-id,
// -root): the settings and the generator as the full-screen start has them,
// but no single-instance test, since such a host runs a show per screen and
// a preview side by side.

#include "platform/host.h"
#include "startup/mode_windows.h"
#include "state/saver_state.h"

namespace pictavo::app {

void StartHostedShow(platform::Host& host, SaverState& state, startup::ModeWindows& windows);

}  // namespace pictavo::app
