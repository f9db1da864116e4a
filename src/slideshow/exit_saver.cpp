#include "slideshow/exit_saver.h"

#include "slideshow/mouse_cursor.h"

namespace pictavo::slideshow {

namespace {
constexpr int32_t kNtFamily = 2;
}  // namespace

bool passwordPromptInForce(const SaverState& state) {
    return state.UsePassword != 0 && state.OsPlatformId != kNtFamily;
}

void ExitSaver(platform::Cursor& cursor, const SaverState& state, ExitPaths& paths) {
    ShowMouseCursor(cursor);
    if (passwordPromptInForce(state))
        paths.askForPassword();
    else
        paths.endNow();
}

}  // namespace pictavo::slideshow
