#include <gtest/gtest.h>

#include "transition_rig.h"

namespace pictavo::transitions::testing {
namespace {

constexpr int kWipeDown = 0, kWipeUp = 1, kWipeRight = 2, kWipeLeft = 3, kCentreOutRows = 4,
              kEdgesInRows = 5, kEdgesInColumns = 6, kCentreOutColumns = 31;

TEST(WipeRight, RoundsTheStripCountHalfToEvenAndLeavesTheRest) {
    TransitionRig rig(642, 5);  // 160.5 strips: 160
    ASSERT_TRUE(rig.runEffect(kWipeRight));
    EXPECT_EQ(rig.copies(), 160);
    EXPECT_EQ(rig.delays(), 160);
    EXPECT_EQ(rig.events().front(), copyEvent(0, 0, 4, 5));
    EXPECT_EQ(rig.events()[1], delayEvent(50));
    EXPECT_EQ(rig.draws().back(), copyEvent(636, 0, 4, 5));
    EXPECT_TRUE(rig.uncoveredExactly(640, 0, 642, 5));  // columns 640 and 641

    ASSERT_TRUE(rig.transition(kWipeRight));
    EXPECT_EQ(rig.events().back(), copyEvent(0, 0, 642, 5));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(WipeRight, AHalfWithAnOddWholePartRoundsUpAndTheLastStripIsClipped) {
    TransitionRig rig(646, 3);  // 161.5 strips: 162
    ASSERT_TRUE(rig.runEffect(kWipeRight));
    EXPECT_EQ(rig.copies(), 162);
    EXPECT_EQ(rig.draws().back(), copyEvent(644, 0, 4, 3));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(WipeLeft, RunsTheSameStripsFromRightToLeft) {
    TransitionRig rig(643, 3);  // 160.75: 161 strips
    ASSERT_TRUE(rig.runEffect(kWipeLeft));
    EXPECT_EQ(rig.copies(), 161);
    EXPECT_EQ(rig.draws().front(), copyEvent(640, 0, 4, 3));
    EXPECT_EQ(rig.draws().back(), copyEvent(0, 0, 4, 3));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(WipeDown, RunsOnePastTheBottomWithAnEmptyLastStrip) {
    TransitionRig rig(7, 600);
    ASSERT_TRUE(rig.runEffect(kWipeDown));
    EXPECT_EQ(rig.delays(), 151);
    EXPECT_EQ(rig.draws().front(), copyEvent(0, 0, 7, 4));
    EXPECT_EQ(rig.draws().back(), copyEvent(0, 600, 7, 4));
    EXPECT_TRUE(rig.showsStagedSlide());

    TransitionRig odd(5, 601);
    ASSERT_TRUE(odd.runEffect(kWipeDown));
    EXPECT_EQ(odd.delays(), 151);  // y = 0 ... 600, the last one clipped to a single row
    EXPECT_TRUE(odd.showsStagedSlide());
}

TEST(WipeUp, StartsBelowThePictureAndEndsAboveIt) {
    TransitionRig rig(7, 600);
    ASSERT_TRUE(rig.runEffect(kWipeUp));
    EXPECT_EQ(rig.delays(), 152);
    EXPECT_EQ(rig.draws().front(), copyEvent(0, 600, 7, 4));
    EXPECT_EQ(rig.draws().back(), copyEvent(0, -4, 7, 4));
    EXPECT_TRUE(rig.showsStagedSlide());

    TransitionRig odd(3, 602);  // Int(150.5 + 0.5) = 151: 153 steps from 602 down to -6
    ASSERT_TRUE(odd.runEffect(kWipeUp));
    EXPECT_EQ(odd.delays(), 153);
    EXPECT_EQ(odd.draws().back(), copyEvent(0, -6, 3, 4));
    EXPECT_TRUE(odd.showsStagedSlide());
}

TEST(CentreOutRows, RunsUntilBothFrontsAreOut) {
    TransitionRig rig(5, 601);
    ASSERT_TRUE(rig.runEffect(kCentreOutRows));
    EXPECT_EQ(rig.delays(), 77);
    EXPECT_EQ(rig.copies(), 154);
    const auto draws = rig.draws();
    EXPECT_EQ(draws[0], copyEvent(0, 300, 5, 4));
    EXPECT_EQ(draws[1], copyEvent(0, 300, 5, 4));
    EXPECT_EQ(draws[152], copyEvent(0, 604, 5, 4));
    EXPECT_EQ(draws[153], copyEvent(0, -4, 5, 4));
    // Both copies of a step come before its single pause.
    EXPECT_EQ(rig.events()[2], delayEvent(50));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(EdgesInRows, StartsOutsideAndStopsWhenBothFrontsReachTheMiddle) {
    TransitionRig rig(5, 600);
    ASSERT_TRUE(rig.runEffect(kEdgesInRows));
    // a = -4 + 4k < 300 up to k = 75; b = 600 - 4k > 300 up to k = 74.
    EXPECT_EQ(rig.delays(), 76);
    const auto draws = rig.draws();
    EXPECT_EQ(draws[0], copyEvent(0, -4, 5, 4));
    EXPECT_EQ(draws[1], copyEvent(0, 600, 5, 4));
    EXPECT_EQ(draws[150], copyEvent(0, 296, 5, 4));
    EXPECT_EQ(draws[151], copyEvent(0, 300, 5, 4));
    EXPECT_TRUE(rig.showsStagedSlide());

    TransitionRig odd(5, 601);  // the middle line 300.5: the top front runs on to a = 300
    ASSERT_TRUE(odd.runEffect(kEdgesInRows));
    EXPECT_EQ(odd.delays(), 77);
    EXPECT_TRUE(odd.showsStagedSlide());
}

TEST(EdgesInColumns, FrontsCrossByOneStripBeforeTheEnd) {
    TransitionRig rig(640, 3);
    ASSERT_TRUE(rig.runEffect(kEdgesInColumns));
    // a = 4k <= 324 and b = 640 - 4k >= 316 both hold up to k = 81.
    EXPECT_EQ(rig.delays(), 82);
    const auto draws = rig.draws();
    EXPECT_EQ(draws[0], copyEvent(0, 0, 4, 3));
    EXPECT_EQ(draws[1], copyEvent(640, 0, 4, 3));
    EXPECT_EQ(draws[162], copyEvent(324, 0, 4, 3));
    EXPECT_EQ(draws[163], copyEvent(316, 0, 4, 3));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(CentreOutColumns, StartsAtTheRoundedMiddle) {
    TransitionRig rig(640, 3);
    ASSERT_TRUE(rig.runEffect(kCentreOutColumns));
    EXPECT_EQ(rig.delays(), 82);
    const auto draws = rig.draws();
    EXPECT_EQ(draws[0], copyEvent(320, 0, 4, 3));
    EXPECT_EQ(draws[162], copyEvent(644, 0, 4, 3));
    EXPECT_EQ(draws[163], copyEvent(-4, 0, 4, 3));
    EXPECT_TRUE(rig.showsStagedSlide());

    TransitionRig odd(641, 3);  // 320.5 rounds to 320
    ASSERT_TRUE(odd.runEffect(kCentreOutColumns));
    EXPECT_EQ(odd.draws()[0], copyEvent(320, 0, 4, 3));
    EXPECT_TRUE(odd.showsStagedSlide());
}

TEST(StripWipes, ReadEachSizeFromTheBoxTheirStepsName) {
    // Loop bound from Picture2, strip length from Picture1.
    TransitionRig down(50, 40, 64, 48);
    ASSERT_TRUE(down.runEffect(kWipeDown));
    EXPECT_EQ(down.delays(), 13);  // y = 0 ... 48
    EXPECT_EQ(down.draws().back(), copyEvent(0, 48, 50, 4));

    // Count from H1, start from H2.
    TransitionRig up(50, 40, 64, 48);
    ASSERT_TRUE(up.runEffect(kWipeUp));
    EXPECT_EQ(up.delays(), 12);
    EXPECT_EQ(up.draws().front(), copyEvent(0, 48, 50, 4));

    TransitionRig columns(40, 30, 64, 48);
    ASSERT_TRUE(columns.runEffect(kCentreOutColumns));
    EXPECT_EQ(columns.draws().front(), copyEvent(32, 0, 4, 30));
}

}  // namespace
}  // namespace pictavo::transitions::testing
