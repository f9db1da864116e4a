#include <gtest/gtest.h>

#include <vector>

#include "transition_rig.h"

namespace pictavo::transitions::testing {
namespace {

constexpr int kSmearUp = 9, kInterlacedRows = 14, kInterlacedColumns = 15, kPairedRows = 16,
              kPairedColumns = 17, kHorizontalBlinds = 18, kVerticalBlinds = 19;

std::vector<int> copyPositions(const TransitionRig& rig, bool vertical) {
    std::vector<int> result;
    for (const TraceEvent& e : rig.draws()) result.push_back(vertical ? e.y : e.x);
    return result;
}

TEST(InterlacedRows, WithAnOddCountTheReturnPassStartsAtThePartialRow) {
    TransitionRig rig(3, 768);  // n = Int(76.8 + 0.5) = 77
    ASSERT_TRUE(rig.runEffect(kInterlacedRows));
    EXPECT_EQ(rig.copies(), 78);
    EXPECT_EQ(rig.delays(), 78);  // every copy has its own pause
    const auto draws = rig.draws();
    EXPECT_EQ(draws[0], copyEvent(0, 0, 3, 10));
    EXPECT_EQ(draws[38], copyEvent(0, 760, 3, 10));
    EXPECT_EQ(draws[39], copyEvent(0, 770, 3, 10));  // row 77: empty
    EXPECT_EQ(draws[77], copyEvent(0, 10, 3, 10));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(InterlacedRows, WithAnEvenCountTheRoundedOffRowsStayForTheClosingCopy) {
    TransitionRig rig(3, 604);  // n = Int(60.9) = 60: rows 600 to 603 are in no strip
    ASSERT_TRUE(rig.runEffect(kInterlacedRows));
    EXPECT_EQ(rig.copies(), 60);
    EXPECT_EQ(rig.draws()[30], copyEvent(0, 590, 3, 10));
    EXPECT_EQ(rig.draws()[59], copyEvent(0, 10, 3, 10));
    EXPECT_TRUE(rig.uncoveredExactly(0, 600, 3, 604));
    ASSERT_TRUE(rig.transition(kInterlacedRows));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(InterlacedColumns, UncoversEveryColumnOfAnOddCount) {
    TransitionRig rig(1152, 2);  // n = 115
    ASSERT_TRUE(rig.runEffect(kInterlacedColumns));
    EXPECT_EQ(rig.copies(), 116);
    EXPECT_EQ(rig.draws()[57], copyEvent(1140, 0, 10, 2));
    EXPECT_EQ(rig.draws()[58], copyEvent(1150, 0, 10, 2));
    EXPECT_EQ(rig.draws().back(), copyEvent(10, 0, 10, 2));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(PairedColumns, PairsEachEvenColumnWithItsMirrorOfTheOddCount) {
    TransitionRig rig(150, 2);  // n = 15
    ASSERT_TRUE(rig.runEffect(kPairedColumns));
    EXPECT_EQ(copyPositions(rig, false), (std::vector<int>{0, 150, 20, 130, 40, 110, 60, 90, 80, 70,
                                                           100, 50, 120, 30, 140, 10}));
    EXPECT_EQ(rig.delays(), 16);
    EXPECT_EQ(rig.events()[1], delayEvent(50));  // a pause after each copy of a pair
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(PairedRows, PairsEachEvenRowWithItsMirrorOfTheEvenCount) {
    TransitionRig rig(2, 100);  // n = 10
    ASSERT_TRUE(rig.runEffect(kPairedRows));
    EXPECT_EQ(copyPositions(rig, true), (std::vector<int>{0, 90, 20, 70, 40, 50, 60, 30, 80, 10}));
    EXPECT_EQ(rig.draws()[0], copyEvent(0, 0, 2, 10));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(HorizontalBlinds, GrowsTwentyBandsByOneRowPerStep) {
    TransitionRig rig(3, 600);  // t = 30
    ASSERT_TRUE(rig.runEffect(kHorizontalBlinds));
    EXPECT_EQ(rig.delays(), 30);
    EXPECT_EQ(rig.copies(), 600);
    EXPECT_EQ(rig.events()[20], delayEvent(5));  // one pause per step of 20 copies
    EXPECT_EQ(rig.draws().front(), copyEvent(0, 0, 3, 1));
    EXPECT_EQ(rig.draws()[19], copyEvent(0, 570, 3, 1));
    EXPECT_EQ(rig.draws().back(), copyEvent(0, 570, 3, 30));
    EXPECT_TRUE(rig.showsStagedSlide());

    TransitionRig odd(3, 611);  // t = Int(31.05) = 31: 620 rows of bands, the last clipped
    ASSERT_TRUE(odd.runEffect(kHorizontalBlinds));
    EXPECT_EQ(odd.delays(), 31);
    EXPECT_TRUE(odd.showsStagedSlide());

    TransitionRig rounded(3, 609);  // t = Int(30.95) = 30: rows 600 to 608 are in no band
    ASSERT_TRUE(rounded.runEffect(kHorizontalBlinds));
    EXPECT_TRUE(rounded.uncoveredExactly(0, 600, 3, 609));
}

TEST(VerticalBlinds, LeaveTheColumnsBeyondTwentyBandsToTheClosingCopy) {
    struct Case {
        int width, band;
    };
    for (Case c : {Case{1010, 50}, Case{1024, 51}, Case{1366, 68}}) {
        TransitionRig rig(c.width, 2);
        ASSERT_TRUE(rig.runEffect(kVerticalBlinds));
        EXPECT_EQ(rig.delays(), c.band);
        EXPECT_EQ(rig.draws().back(), copyEvent(19 * c.band, 0, c.band, 2));
        EXPECT_TRUE(rig.uncoveredExactly(20 * c.band, 0, c.width, 2)) << c.width;
        ASSERT_TRUE(rig.transition(kVerticalBlinds));
        EXPECT_EQ(rig.events().back(), copyEvent(0, 0, c.width, 2));
        EXPECT_TRUE(rig.showsStagedSlide()) << c.width;
    }
}

TEST(SmearUp, CopiesEachBandOverEveryBandAboveIt) {
    TransitionRig rig(3, 480);  // m = 240 bands of t = 2 rows
    ASSERT_TRUE(rig.runEffect(kSmearUp));
    EXPECT_EQ(rig.copies(), 29161);
    EXPECT_EQ(rig.delays(), 29161);
    const auto& events = rig.events();
    EXPECT_EQ(events[0], bandEvent(0, 0, 3, 2, 0, 480));  // band 240 lies below the picture
    EXPECT_EQ(events[1], delayEvent(1));
    EXPECT_EQ(events[2 * 240], bandEvent(0, 480, 3, 2, 0, 480));
    EXPECT_EQ(events[2 * 241],
              bandEvent(0, 0, 3, 2, 0, 478));  // the pass of band 239 begins at the top
    EXPECT_EQ(events[events.size() - 2], bandEvent(0, 0, 3, 2, 0, 0));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(SmearUp, StreaksTheCurrentBandAboveTheFront) {
    TransitionRig rig(4, 20);  // m = 10, t = 2
    int copiesSeen = 0;
    bool checked = false;
    rig.loop.setOnDispatch([&](int) {
        // After the pass of band 9 (rows 18, 19): every band above shows it.
        if (++copiesSeen != 11 + 10) return;
        for (int y = 0; y < 20; ++y) EXPECT_EQ(rig.shown(1, y), stagedPixel(1, 18 + y % 2)) << y;
        checked = true;
    });
    ASSERT_TRUE(rig.runEffect(kSmearUp));
    EXPECT_TRUE(checked);
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(SmearUp, OddAndTinyHeights) {
    TransitionRig odd(
        3, 481);  // m = 240 (240.5 to even), t = 2: the band at 480 is clipped to one row
    ASSERT_TRUE(odd.runEffect(kSmearUp));
    EXPECT_EQ(odd.copies(), 29161);
    EXPECT_TRUE(odd.showsStagedSlide());

    TransitionRig line(5, 1);  // m = 0: the band height cannot be worked out and stays 0
    ASSERT_TRUE(line.runEffect(kSmearUp));
    EXPECT_EQ(line.events(), (std::vector<TraceEvent>{bandEvent(0, 0, 5, 0, 0, 0), delayEvent(1)}));
    ASSERT_TRUE(line.transition(kSmearUp));
    EXPECT_TRUE(line.showsStagedSlide());
}

}  // namespace
}  // namespace pictavo::transitions::testing
