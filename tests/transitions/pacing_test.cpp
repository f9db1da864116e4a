#include "transitions/pacing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "hosts/shared/frame_sink.h"
#include "transition_rig.h"

namespace pictavo::transitions::testing {
namespace {

constexpr int64_t kIterationMicros = kNominalIterationNanos / 1000;

struct PacingRig {
    platform::headless::HeadlessHost host;
    platform::headless::FakeClock& clock = host.clock();
    platform::headless::HeadlessEventLoop& loop = host.eventLoop();
    SaverState state;
    Pacing pacing{loop, clock, state, nullptr};
};

TEST(TransitionDelay, DispatchesOnceThenWaitsTenTimesSpeedIterationsPerUnit) {
    PacingRig rig;
    int64_t dispatchedAt = -1;
    rig.loop.setOnDispatch([&](int) { dispatchedAt = rig.clock.nowMicros(); });
    rig.pacing.TransitionDelay(50);
    EXPECT_EQ(rig.loop.dispatchCount(), 1);
    EXPECT_EQ(dispatchedAt, 0);  // the dispatch comes before the wait
    EXPECT_EQ(rig.clock.nowMicros(), 500 * kIterationMicros);
    EXPECT_EQ(rig.pacing.nominalNanos(), 500 * kNominalIterationNanos);

    PacingRig slow;
    slow.state.Speed = 1000;
    slow.pacing.TransitionDelay(50);
    EXPECT_EQ(slow.clock.nowMicros(), 500'000 * kIterationMicros);
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
    EXPECT_EQ(rig.loop.dispatchCount(), 4);
    EXPECT_EQ(rig.clock.nowMicros(), 0);
}

TEST(TransitionDelay, ManyShortPausesAddUpOnTheDeadline) {
    // Drawing takes 40 us of each 70 us pause: the sleeps make up the rest exactly.
    PacingRig rig;
    rig.loop.setOnDispatch([&](int) { rig.clock.advance(40); });
    for (int i = 0; i < 1000; ++i) rig.pacing.TransitionDelay(1);
    EXPECT_EQ(rig.clock.nowMicros(), 1000 * 10 * kIterationMicros);

    // Drawing takes longer than the pause: never a sleep, never extra time.
    PacingRig behind;
    behind.loop.setOnDispatch([&](int) { behind.clock.advance(100); });
    for (int i = 0; i < 1000; ++i) behind.pacing.TransitionDelay(1);
    EXPECT_EQ(behind.clock.sleeps(), 0);
    EXPECT_EQ(behind.clock.nowMicros(), 100'000);
}

TEST(TransitionDelay, WhereShortSleepsAreDearThePausesAddUpBeforeOneIsSlept) {
    PacingRig rig;
    rig.loop.setShortestSleepMicros(1000);
    rig.loop.setOnDispatch([&](int) { rig.clock.advance(10); });
    for (int i = 0; i < 1000; ++i) {
        rig.pacing.TransitionDelay(1);
        // No step runs more than the shortest sleep ahead of its deadline.
        ASSERT_GT(rig.clock.nowMicros(), (i + 1) * 10 * kIterationMicros - 1000) << i;
    }
    EXPECT_LE(rig.clock.sleeps(), 1000 * 10 * kIterationMicros / 1000);
    EXPECT_EQ(rig.loop.dispatchCount(), 1000);
}

TEST(TransitionDelay, ALongStallIsNotMadeUpByRushingTheRest) {
    PacingRig rig;
    rig.loop.setOnDispatch([&](int dispatch) {
        if (dispatch == 1) rig.clock.advance(1'000'000);  // a dialog held the dispatch for a second
    });
    rig.pacing.TransitionDelay(50);
    const int64_t afterStall = rig.clock.nowMicros();
    for (int i = 0; i < 100; ++i) rig.pacing.TransitionDelay(50);
    // 100 pauses of 3.5 ms after it; only kMaxLagNanos of the stall is caught up.
    EXPECT_EQ(rig.clock.nowMicros() - afterStall,
              100 * 500 * kIterationMicros - kMaxLagNanos / 1000);
}

TEST(TransitionDelay, ALongPauseIsSleptInShortSlicesThatAddUpToItsDeadline) {
    // The settings file may hold any 16-bit Speed: a pause of almost two minutes.
    PacingRig rig;
    rig.state.Speed = 32767;
    rig.pacing.TransitionDelay(50);
    const int64_t nominal = nominalDelayNanos(50, 32767) / 1000;
    EXPECT_EQ(rig.clock.nowMicros(), nominal);
    EXPECT_LE(rig.loop.longestWait(), kLongestSliceMicros);
    EXPECT_EQ(rig.loop.waitCount(), (nominal + kLongestSliceMicros - 1) / kLongestSliceMicros);
    EXPECT_EQ(rig.loop.dispatchCount(), 1) << "waits that nothing interrupted dispatch nothing";
}

TEST(TransitionDelay, InputInTheMiddleOfALongPauseIsDispatchedAndAnEndStopsIt) {
    PacingRig rig;
    rig.state.Speed = 32767;
    // A key arrives during the third slice: it is dispatched, and it ends the program.
    rig.loop.setOnWait([&](int wait) {
        if (wait == 3) rig.loop.post([] {});
    });
    rig.loop.setOnDispatch([&](int dispatch) {
        if (dispatch == 2) rig.loop.requestEnd();
    });
    EXPECT_THROW(rig.pacing.TransitionDelay(50), TransitionAborted);
    EXPECT_EQ(rig.loop.dispatchCount(), 2);
    EXPECT_EQ(rig.clock.nowMicros(), 2 * kLongestSliceMicros);

    // Input that does not end the program: the pause goes on to its deadline.
    PacingRig going;
    going.state.Speed = 1000;
    going.loop.setOnWait([&](int wait) {
        if (wait % 7 == 0) going.loop.post([] {});
    });
    going.pacing.TransitionDelay(50);
    EXPECT_EQ(going.clock.nowMicros(), nominalDelayNanos(50, 1000) / 1000);
    EXPECT_GT(going.loop.dispatchCount(), 1);
}

TEST(EndingDuringATransition, StopsTheEffectAtOnceAndLeavesThePicturesAlone) {
    TransitionRig rig(16, 40);
    imaging::Image atEnd;
    rig.loop.setOnDispatch([&](int dispatch) {
        if (dispatch != 3) return;
        rig.loop.requestEnd();  // a key press: the show ends
        atEnd = rig.picture2.snapshot();
    });
    EXPECT_FALSE(rig.transition(0));
    EXPECT_EQ(rig.events(), (std::vector<TraceEvent>{copyEvent(0, 0, 16, 4), delayEvent(50),
                                                     copyEvent(0, 4, 16, 4), delayEvent(50),
                                                     copyEvent(0, 8, 16, 4), delayEvent(50)}));
    EXPECT_EQ(rig.picture2.image().pixels, atEnd.pixels);
    EXPECT_TRUE(rig.uncoveredExactly(0, 12, 16, 40));
    // No wait after the dispatch that ended it.
    EXPECT_EQ(rig.clock.nowMicros(), 2 * 500 * kIterationMicros);
}

TEST(EndingDuringATransition, ATickThatRunsAnotherTransitionInsideAPauseLeavesBothWhole) {
    TransitionRig rig(24, 16);
    bool nested = false;
    bool nestedFinished = false;
    rig.loop.setOnDispatch([&](int) {
        if (nested) return;
        nested = true;
        nestedFinished = rig.transition(0);
    });
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
    rig.loop.setOnDispatch([&](int dispatch) {
        if (!nested) {
            nested = true;
            nestedFinished = rig.transition(0);
        } else if (dispatch == 3) {
            rig.loop.requestEnd();
        }
    });
    EXPECT_FALSE(rig.transition(2));
    EXPECT_FALSE(nestedFinished);
    EXPECT_EQ(rig.loop.dispatchCount(), 3);
    EXPECT_EQ(rig.count(TraceEvent::Copy), 3);
}

}  // namespace
}  // namespace pictavo::transitions::testing

namespace pictavo::transitions::testing {
namespace {

// Keeps the frames the host is given, in order.
class KeptFrames final : public platform::FrameSink {
  public:
    void framePresented(const platform::MemorySurface& surface) override {
        frames.push_back(surface.image());
    }
    std::vector<imaging::Image> frames;
};

TEST(Presenting, EachStepIsShownBeforeItsPauseAndTheEndAfterTheClosingCopy) {
    TransitionRig rig(16, 12);
    KeptFrames kept;
    rig.host.setFrameSink(&kept);
    rig.loop.setOnDispatch([&](int dispatch) {
        // The frame presented last is the screen as the pause finds it.
        ASSERT_EQ(kept.frames.size(), static_cast<size_t>(dispatch));
        EXPECT_EQ(kept.frames.back().pixels, rig.picture2.image().pixels);
    });
    ASSERT_TRUE(rig.transition(0));  // WipeDown: 4 steps
    EXPECT_EQ(rig.loop.dispatchCount(), 4);
    ASSERT_EQ(kept.frames.size(), 5u);
    // Each step's frame shows four more rows of the new slide than the one before.
    for (size_t i = 0; i < 4; ++i) {
        const auto& pixels = kept.frames[i].pixels;
        const int oldRows = std::max(0, 12 - 4 * static_cast<int>(i + 1));
        EXPECT_EQ(std::count(pixels.begin(), pixels.end(), kOldSlide), oldRows * 16) << i;
    }
    EXPECT_EQ(kept.frames.back().pixels, rig.picture1.image().pixels);
    EXPECT_TRUE(rig.showsStagedSlide());

    rig.loop.setOnDispatch([&](int dispatch) {
        if (dispatch == 6) rig.loop.requestEnd();
    });
    EXPECT_FALSE(rig.transition(0));
    EXPECT_EQ(kept.frames.size(), 5u + 2);  // nothing is shown once the end is asked for
    EXPECT_EQ(rig.host.frames().presented(), 5 + 2);
}

}  // namespace
}  // namespace pictavo::transitions::testing
