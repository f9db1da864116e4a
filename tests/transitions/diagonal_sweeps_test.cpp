#include <gtest/gtest.h>

#include <vector>

#include "transition_rig.h"

namespace pictavo::transitions::testing {
namespace {

constexpr int kDiagonalCheckerReturn = 10, kDiagonalSweep = 11, kDiagonalInterlace = 12,
              kDiagonalChecker = 13;

// The copies of the walk that ends with the pause number `walk` (0-based).
std::vector<TraceEvent> copiesOfWalk(const TransitionRig& rig, int walk) {
    std::vector<TraceEvent> result;
    int pauses = 0;
    for (const TraceEvent& e : rig.events()) {
        if (e.kind == TraceEvent::Delay) {
            if (pauses++ == walk) break;
            result.clear();
        } else {
            result.push_back(e);
        }
    }
    return result;
}

TEST(DiagonalSweep, WalksTopEdgeThenRightEdgeDiagonalsBoundedByTheWidth) {
    TransitionRig rig(640, 480);  // xmax = ymax = 632
    ASSERT_TRUE(rig.runEffect(kDiagonalSweep));
    EXPECT_EQ(rig.delays(), 160);
    EXPECT_EQ(rig.copies(), 2 * 3240);  // 1 + 2 + ... + 80 in each phase
    EXPECT_EQ(copiesOfWalk(rig, 0), (std::vector<TraceEvent>{copyEvent(0, 0, 8, 8)}));
    EXPECT_EQ(copiesOfWalk(rig, 1),
              (std::vector<TraceEvent>{copyEvent(8, 0, 8, 8), copyEvent(0, 8, 8, 8)}));
    EXPECT_EQ(copiesOfWalk(rig, 79).size(), 80u);
    EXPECT_EQ(copiesOfWalk(rig, 80),
              copiesOfWalk(rig, 79));  // phase 2 starts on phase 1's last diagonal
    // Below the picture from y0 = 480 on: still copied, nothing shows, the pause counts.
    const auto below = copiesOfWalk(rig, 80 + 60);
    EXPECT_EQ(below.front(), copyEvent(632, 480, 8, 8));
    EXPECT_EQ(below.back(), copyEvent(480, 632, 8, 8));
    EXPECT_EQ(rig.events()[1], delayEvent(2));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(DiagonalSweep, OnAPortraitPictureLeavesTheRowsBelowTheWidth) {
    TransitionRig rig(480, 640);  // ymax = 472 comes from the width
    ASSERT_TRUE(rig.runEffect(kDiagonalSweep));
    EXPECT_EQ(rig.delays(), 120);
    EXPECT_TRUE(rig.uncoveredExactly(0, 480, 480, 640));
    ASSERT_TRUE(rig.transition(kDiagonalSweep));
    EXPECT_EQ(rig.events().back(), copyEvent(0, 0, 480, 640));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(DiagonalInterlace, CopiesEveryOtherDiagonalThenTheOnesBetweenFromOutside) {
    TransitionRig rig(640, 480);
    ASSERT_TRUE(rig.runEffect(kDiagonalInterlace));
    EXPECT_EQ(rig.delays(), 4 * 40);
    EXPECT_EQ(copiesOfWalk(rig, 1).front(), copyEvent(16, 0, 8, 8));
    EXPECT_EQ(copiesOfWalk(rig, 40).front(), copyEvent(632, 8, 8, 8));
    EXPECT_EQ(copiesOfWalk(rig, 80).front(), copyEvent(8, 0, 8, 8));
    // The last phase starts its walks on x = W2, just outside the picture.
    const auto fourth = copiesOfWalk(rig, 120);
    EXPECT_EQ(fourth[0], copyEvent(640, 8, 8, 8));
    EXPECT_EQ(fourth[1], copyEvent(632, 16, 8, 8));
    EXPECT_EQ(copiesOfWalk(rig, 159).front(), copyEvent(640, 632, 8, 8));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(DiagonalChecker, CopiesEveryOtherBlockThenTheBlocksBetween) {
    TransitionRig rig(640, 480);
    ASSERT_TRUE(rig.runEffect(kDiagonalChecker));
    EXPECT_EQ(rig.delays(), 4 * 80);
    EXPECT_EQ(copiesOfWalk(rig, 2),
              (std::vector<TraceEvent>{copyEvent(16, 0, 8, 8), copyEvent(0, 16, 8, 8)}));
    EXPECT_EQ(rig.events()[1], delayEvent(4));
    EXPECT_EQ(copiesOfWalk(rig, 160).front(),
              copyEvent(0, 8, 8, 8));  // third phase: one block down
    EXPECT_EQ(copiesOfWalk(rig, 240).front(), copyEvent(640, 0, 8, 8));  // fourth: one block right
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(DiagonalCheckerReturn, SweepsBackFromTheLowerRight) {
    TransitionRig rig(640, 480);  // w = h = 10, xmax = ymax = 630
    ASSERT_TRUE(rig.runEffect(kDiagonalCheckerReturn));
    // 64 + 64 forward, then y0 = 630 ... -20 (66) and x0 = 630 ... -10 (65) back.
    EXPECT_EQ(rig.delays(), 64 + 64 + 66 + 65);
    EXPECT_EQ(copiesOfWalk(rig, 128).front(), copyEvent(640, 630, 10, 10));
    EXPECT_EQ(
        copiesOfWalk(rig, 193),
        (std::vector<TraceEvent>{
            copyEvent(640, -20, 10, 10), copyEvent(620, 0, 10, 10),   copyEvent(600, 20, 10, 10),
            copyEvent(580, 40, 10, 10),  copyEvent(560, 60, 10, 10),  copyEvent(540, 80, 10, 10),
            copyEvent(520, 100, 10, 10), copyEvent(500, 120, 10, 10), copyEvent(480, 140, 10, 10),
            copyEvent(460, 160, 10, 10), copyEvent(440, 180, 10, 10), copyEvent(420, 200, 10, 10),
            copyEvent(400, 220, 10, 10), copyEvent(380, 240, 10, 10), copyEvent(360, 260, 10, 10),
            copyEvent(340, 280, 10, 10), copyEvent(320, 300, 10, 10), copyEvent(300, 320, 10, 10),
            copyEvent(280, 340, 10, 10), copyEvent(260, 360, 10, 10), copyEvent(240, 380, 10, 10),
            copyEvent(220, 400, 10, 10), copyEvent(200, 420, 10, 10), copyEvent(180, 440, 10, 10),
            copyEvent(160, 460, 10, 10), copyEvent(140, 480, 10, 10), copyEvent(120, 500, 10, 10),
            copyEvent(100, 520, 10, 10), copyEvent(80, 540, 10, 10),  copyEvent(60, 560, 10, 10),
            copyEvent(40, 580, 10, 10),  copyEvent(20, 600, 10, 10),  copyEvent(0, 620, 10, 10)}));
    // The last walk starts left of the picture, allowed by the lower bound -w.
    EXPECT_EQ(copiesOfWalk(rig, 258), (std::vector<TraceEvent>{copyEvent(-10, 10, 10, 10)}));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(DiagonalSweeps, EndWholeAtOddSizes) {
    for (int effect :
         {kDiagonalCheckerReturn, kDiagonalSweep, kDiagonalInterlace, kDiagonalChecker}) {
        TransitionRig rig(203, 117);
        ASSERT_TRUE(rig.transition(effect));
        EXPECT_EQ(rig.events().back(), copyEvent(0, 0, 203, 117));
        EXPECT_TRUE(rig.showsStagedSlide()) << effect;
    }
}

}  // namespace
}  // namespace pictavo::transitions::testing
