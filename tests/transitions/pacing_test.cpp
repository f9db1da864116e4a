#include "transitions/pacing.h"

#include <gtest/gtest.h>

#include "transition_rig.h"

namespace pictavo::transitions::testing {
namespace {

constexpr int64_t kIterationMicros = kNominalIterationNanos / 1000;

struct PacingRig {
    SaverState state;
    ManualClock clock;
    ScriptedEventLoop loop{clock};
    Pacing pacing{loop, clock, state, nullptr};
};

TEST(TransitionDelay, DispatchesOnceThenWaitsTenTimesSpeedIterationsPerUnit) {
    PacingRig rig;
    int64_t dispatchedAt = -1;
    rig.loop.onDispatch = [&](int) { dispatchedAt = rig.clock.now; };
    rig.pacing.TransitionDelay(50);
    EXPECT_EQ(rig.loop.dispatches, 1);
    EXPECT_EQ(dispatchedAt, 0);  // the dispatch comes before the wait
    EXPECT_EQ(rig.clock.now, 500 * kIterationMicros);
    EXPECT_EQ(rig.pacing.nominalNanos(), 500 * kNominalIterationNanos);

    PacingRig slow;
    slow.state.Speed = 1000;
    slow.pacing.TransitionDelay(50);
    EXPECT_EQ(slow.clock.now, 500'000 * kIterationMicros);
    EXPECT_EQ(nominalDelayNanos(50, 1000), 500'000 * kNominalIterationNanos);
}

TEST(TransitionDelay, NoUnitsOrNoSpeedStillDispatchButDoNotWait) {
    PacingRig rig;
    rig.pacing.TransitionDelay(0);
    rig.pacing.TransitionDelay(-5);
    rig.state.Speed = 0;
    rig.pacing.TransitionDelay(50);
    rig.state.Speed = -3;
    rig.pacing.TransitionDelay(50);
    EXPECT_EQ(rig.loop.dispatches, 4);
    EXPECT_EQ(rig.clock.now, 0);
}

TEST(TransitionDelay, ManyShortPausesAddUpOnTheDeadline) {
    // Drawing takes 40 us of each 70 us pause: the sleeps make up the rest exactly.
    PacingRig rig;
    rig.loop.onDispatch = [&](int) { rig.clock.now += 40; };
    for (int i = 0; i < 1000; ++i) rig.pacing.TransitionDelay(1);
    EXPECT_EQ(rig.clock.now, 1000 * 10 * kIterationMicros);

    // Drawing takes longer than the pause: never a sleep, never extra time.
    PacingRig behind;
    behind.loop.onDispatch = [&](int) { behind.clock.now += 100; };
    for (int i = 0; i < 1000; ++i) behind.pacing.TransitionDelay(1);
    EXPECT_EQ(behind.clock.sleeps, 0);
    EXPECT_EQ(behind.clock.now, 100'000);
}

TEST(TransitionDelay, ALongStallIsNotMadeUpByRushingTheRest) {
    PacingRig rig;
    rig.loop.onDispatch = [&](int dispatch) {
        if (dispatch == 1) rig.clock.now += 1'000'000;  // a dialog held the dispatch for a second
    };
    rig.pacing.TransitionDelay(50);
    const int64_t afterStall = rig.clock.now;
    for (int i = 0; i < 100; ++i) rig.pacing.TransitionDelay(50);
    // 100 pauses of 3.5 ms after it; only kMaxLagNanos of the stall is caught up.
    EXPECT_EQ(rig.clock.now - afterStall, 100 * 500 * kIterationMicros - kMaxLagNanos / 1000);
}

TEST(TransitionDelay, ALongPauseIsSleptInShortSlicesThatAddUpToItsDeadline) {
    // The settings file may hold any 16-bit Speed: a pause of almost two minutes.
    PacingRig rig;
    rig.state.Speed = 32767;
    rig.pacing.TransitionDelay(50);
    const int64_t nominal = nominalDelayNanos(50, 32767) / 1000;
    EXPECT_EQ(rig.clock.now, nominal);
    EXPECT_LE(rig.loop.longestWait, kLongestSliceMicros);
    EXPECT_EQ(rig.loop.waits, (nominal + kLongestSliceMicros - 1) / kLongestSliceMicros);
    EXPECT_EQ(rig.loop.dispatches, 1) << "waits that nothing interrupted dispatch nothing";
}

TEST(TransitionDelay, InputInTheMiddleOfALongPauseIsDispatchedAndAnEndStopsIt) {
    PacingRig rig;
    rig.state.Speed = 32767;
    // A key arrives during the third slice: it is dispatched, and it ends the program.
    rig.loop.onWait = [&](int wait) { return wait == 3; };
    rig.loop.onDispatch = [&](int dispatch) {
        if (dispatch == 2) rig.loop.requestEnd();
    };
    EXPECT_THROW(rig.pacing.TransitionDelay(50), TransitionAborted);
    EXPECT_EQ(rig.loop.dispatches, 2);
    EXPECT_EQ(rig.clock.now, 2 * kLongestSliceMicros);

    // Input that does not end the program: the pause goes on to its deadline.
    PacingRig going;
    going.state.Speed = 1000;
    going.loop.onWait = [&](int wait) { return wait % 7 == 0; };
    going.pacing.TransitionDelay(50);
    EXPECT_EQ(going.clock.now, nominalDelayNanos(50, 1000) / 1000);
    EXPECT_GT(going.loop.dispatches, 1);
}

TEST(EndingDuringATransition, StopsTheEffectAtOnceAndLeavesThePicturesAlone) {
    TransitionRig rig(16, 40);
    imaging::Image atEnd;
    rig.loop.onDispatch = [&](int dispatch) {
        if (dispatch != 3) return;
        rig.loop.requestEnd();  // a key press: the show ends
        atEnd = rig.picture2.snapshot();
    };
    EXPECT_FALSE(rig.transition(0));
    EXPECT_EQ(rig.events(), (std::vector<TraceEvent>{copyEvent(0, 0, 16, 4), delayEvent(50),
                                                     copyEvent(0, 4, 16, 4), delayEvent(50),
                                                     copyEvent(0, 8, 16, 4), delayEvent(50)}));
    EXPECT_EQ(rig.picture2.image().pixels, atEnd.pixels);
    EXPECT_TRUE(rig.uncoveredExactly(0, 12, 16, 40));
    // No wait after the dispatch that ended it.
    EXPECT_EQ(rig.clock.now, 2 * 500 * kIterationMicros);
}

TEST(EndingDuringATransition, ATickThatRunsAnotherTransitionInsideAPauseLeavesBothWhole) {
    TransitionRig rig(24, 16);
    bool nested = false;
    bool nestedFinished = false;
    rig.loop.onDispatch = [&](int) {
        if (nested) return;
        nested = true;
        nestedFinished = rig.transition(0);
    };
    EXPECT_TRUE(rig.transition(2));
    EXPECT_TRUE(nestedFinished);
    EXPECT_EQ(rig.count(TraceEvent::Copy),
              1 + 5 + 1 + 5 + 1);  // first strip, nested WipeDown, rest
    EXPECT_EQ(rig.events().back(), copyEvent(0, 0, 24, 16));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(EndingDuringATransition, AnEndInsideANestedTransitionStopsBoth) {
    TransitionRig rig(24, 16);
    bool nested = false;
    bool nestedFinished = true;
    rig.loop.onDispatch = [&](int dispatch) {
        if (!nested) {
            nested = true;
            nestedFinished = rig.transition(0);
        } else if (dispatch == 3) {
            rig.loop.requestEnd();
        }
    };
    EXPECT_FALSE(rig.transition(2));
    EXPECT_FALSE(nestedFinished);
    EXPECT_EQ(rig.loop.dispatches, 3);
    EXPECT_EQ(rig.count(TraceEvent::Copy), 3);
}

}  // namespace
}  // namespace pictavo::transitions::testing

namespace pictavo::transitions::testing {
namespace {

// Picture2 as a window would hold it: counts how often it is shown.
class ShownSurface final : public platform::Surface {
  public:
    explicit ShownSurface(platform::MemorySurface& inner) : inner_(inner) {}
    int width() const override { return inner_.width(); }
    int height() const override { return inner_.height(); }
    void resize(int w, int h) override { inner_.resize(w, h); }
    void copyFrom(const Surface& src, int dx, int dy, int w, int h, int sx, int sy) override {
        inner_.copyFrom(src, dx, dy, w, h, sx, sy);
    }
    void stretchFrom(const Surface& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw,
                     int dh) override {
        inner_.stretchFrom(src, sx, sy, sw, sh, dx, dy, dw, dh);
    }
    void clear(platform::Colour colour) override { inner_.clear(colour); }
    void drawImage(const imaging::Image& image, int x, int y) override {
        inner_.drawImage(image, x, y);
    }
    void printLine(std::string_view text, const platform::Font& font,
                   platform::Colour colour) override {
        inner_.printLine(text, font, colour);
    }
    int printY() const override { return inner_.printY(); }
    void setPrintPosition(int x, int y) override { inner_.setPrintPosition(x, y); }
    imaging::Image snapshot() const override { return inner_.snapshot(); }
    void present() override { ++presented; }

    int presented = 0;

  private:
    platform::MemorySurface& inner_;
};

TEST(Presenting, EachStepIsShownBeforeItsPauseAndTheEndAfterTheClosingCopy) {
    TransitionRig rig(16, 12);
    ShownSurface shown(rig.picture2);
    TransitionEngine engine(rig.picture1, shown, rig.state, rig.screen, rig.loop, rig.clock);
    rig.loop.onDispatch = [&](int dispatch) { EXPECT_EQ(shown.presented, dispatch); };
    ASSERT_TRUE(engine.Transition(0));  // WipeDown: 4 steps
    EXPECT_EQ(rig.loop.dispatches, 4);
    EXPECT_EQ(shown.presented, 5);
    EXPECT_TRUE(rig.showsStagedSlide());

    rig.loop.onDispatch = [&](int dispatch) {
        if (dispatch == 6) rig.loop.requestEnd();
    };
    EXPECT_FALSE(engine.Transition(0));
    EXPECT_EQ(shown.presented, 5 + 2);  // nothing is shown once the end is asked for
}

}  // namespace
}  // namespace pictavo::transitions::testing
