#pragma once
// The reaction to any input during the show: end it, or ask for the
// password when the system's password switch is in force.

#include "platform/cursor.h"
#include "state/saver_state.h"

namespace pictavo::slideshow {

// The two ways input can end the show; the slide window provides both.
class ExitPaths {
  public:
    virtual ~ExitPaths() = default;
    // Opens frmSSPassword (not modal), or brings it forward when it is open.
    virtual void askForPassword() = 0;
    // Unloads frmSS and ends the program.
    virtual void endNow() = 0;
};

// Input asks for the password: the switch is on and the system is not of
// the NT family, which has its own password check.
bool passwordPromptInForce(const SaverState& state);

void ExitSaver(platform::Cursor& cursor, const SaverState& state, ExitPaths& paths);

}  // namespace pictavo::slideshow
