#include "slideshow/exit_saver.h"

#include <gtest/gtest.h>

#include "hosts/headless/headless_system.h"
#include "slideshow/mouse_cursor.h"

namespace pictavo::slideshow {
namespace {

class RecordingPaths : public ExitPaths {
  public:
    void askForPassword() override { events += "ask "; }
    void endNow() override { events += "end "; }
    std::string events;
};

TEST(MouseCursor, BringsAnyDisplayCountBackToVisibleOrHidden) {
    platform::headless::HeadlessCursor cursor;
    for (int i = 0; i < 3; ++i) cursor.showCursor(true);
    HideMouseCursor(cursor);
    EXPECT_EQ(cursor.displayCount(), -1);
    EXPECT_EQ(cursor.calls(), 3 + 4);
    HideMouseCursor(cursor);
    EXPECT_EQ(cursor.displayCount(), -2) << "at least once";
    for (int i = 0; i < 3; ++i) cursor.showCursor(false);
    ShowMouseCursor(cursor);
    EXPECT_EQ(cursor.displayCount(), 0);
    ShowMouseCursor(cursor);
    EXPECT_EQ(cursor.displayCount(), 1) << "at least once";
}

TEST(ExitSaver, ShowsTheCursorThenAsksForThePasswordOnlyOutsideNt) {
    struct Case {
        int16_t usePassword;
        int32_t platformId;
        const char* expected;
    };
    for (Case c :
         {Case{0, 1, "end "}, Case{1, 1, "ask "}, Case{1, 2, "end "}, Case{5, 0, "ask "}}) {
        platform::headless::HeadlessCursor cursor;
        cursor.showCursor(false);
        SaverState state;
        state.UsePassword = c.usePassword;
        state.OsPlatformId = c.platformId;
        RecordingPaths paths;
        ExitSaver(cursor, state, paths);
        EXPECT_EQ(paths.events, c.expected) << c.usePassword << " " << c.platformId;
        EXPECT_TRUE(cursor.visible());
    }
}

}  // namespace
}  // namespace pictavo::slideshow
