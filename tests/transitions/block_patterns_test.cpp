#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "common/numbers.h"
#include "transition_rig.h"

namespace pictavo::transitions::testing {
namespace {

constexpr int kDiamondOut = 7, kSpiralBlocks = 8, kCounterColumns = 26, kCounterRows = 27,
              kSnakeColumns = 28, kSnakeRows = 29, kRandomBlocks = 30;

TEST(SnakeColumns, RunsDownAndUpColumnPairsWithInclusiveCounts) {
    TransitionRig rig(640, 480);  // 40 columns, 30 rows, both counted inclusively
    ASSERT_TRUE(rig.runEffect(kSnakeColumns));
    EXPECT_EQ(rig.copies(), 21 * 62);
    EXPECT_EQ(rig.delays(), 21 * 62);
    const auto draws = rig.draws();
    EXPECT_EQ(draws[0], copyEvent(0, 0, 16, 16));
    EXPECT_EQ(draws[30], copyEvent(0, 480, 16, 16));   // row 30: below the picture
    EXPECT_EQ(draws[31], copyEvent(16, 480, 16, 16));  // the odd column runs up
    EXPECT_EQ(draws[61], copyEvent(16, 0, 16, 16));
    EXPECT_EQ(draws.back(), copyEvent(656, 0, 16, 16));  // column 41
    EXPECT_TRUE(rig.showsStagedSlide());

    TransitionRig odd(100, 41);  // 6.25 -> 6 columns, 2.56 -> 3 rows
    ASSERT_TRUE(odd.runEffect(kSnakeColumns));
    EXPECT_EQ(odd.copies(), 4 * 8);
    EXPECT_EQ(odd.draws().back(), copyEvent(112, 0, 16, 16));
    EXPECT_TRUE(odd.showsStagedSlide());
}

TEST(SnakeRows, RunsRightAndLeftAlongRowPairs) {
    TransitionRig rig(640, 480);
    ASSERT_TRUE(rig.runEffect(kSnakeRows));
    EXPECT_EQ(rig.copies(), 16 * 82);
    const auto draws = rig.draws();
    EXPECT_EQ(draws[40], copyEvent(640, 0, 16, 16));
    EXPECT_EQ(draws[41], copyEvent(640, 16, 16, 16));
    EXPECT_EQ(draws.back(), copyEvent(0, 496, 16, 16));  // row 31
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(CounterColumns, FillsEvenColumnsDownAndOddColumnsUpWithAPauseAfterEachPair) {
    TransitionRig rig(640, 480);  // 40 columns of 16, 60 rows of 8
    ASSERT_TRUE(rig.runEffect(kCounterColumns));
    EXPECT_EQ(rig.delays(), 61 * 21);
    EXPECT_EQ(rig.copies(), 2 * 61 * 21);
    const auto& events = rig.events();
    EXPECT_EQ(events[0], copyEvent(0, 0, 16, 8));
    EXPECT_EQ(events[1], copyEvent(16, 480, 16, 8));
    EXPECT_EQ(events[2], delayEvent(1));
    EXPECT_EQ(events[3], copyEvent(32, 0, 16, 8));
    // Cycle r = 1 starts on the second row; its odd column block tops at 480 - 8.
    EXPECT_EQ(events[3 * 21], copyEvent(0, 8, 16, 8));
    EXPECT_EQ(events[3 * 21 + 1], copyEvent(16, 472, 16, 8));
    EXPECT_EQ(events[events.size() - 3], copyEvent(640, 480, 16, 8));
    EXPECT_EQ(events[events.size() - 2], copyEvent(656, 0, 16, 8));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(CounterColumns, RowsRoundedDownLeaveTheTopOfTheOddColumns) {
    TransitionRig rig(64, 1066);  // 133.25 -> 133 rows: the odd columns stop at y = 1066 - 1064 = 2
    ASSERT_TRUE(rig.runEffect(kCounterColumns));
    EXPECT_TRUE(rig.uncoveredExactlyWhere([](int x, int y) { return y < 2 && (x / 16) % 2 == 1; }));
    ASSERT_TRUE(rig.transition(kCounterColumns));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(CounterRows, FillsEvenRowsFromTheLeftAndOddRowsFromTheRight) {
    TransitionRig rig(640, 480);  // 80 columns of 8, 30 rows of 16
    ASSERT_TRUE(rig.runEffect(kCounterRows));
    EXPECT_EQ(rig.delays(), 81 * 16);
    const auto& events = rig.events();
    EXPECT_EQ(events[0], copyEvent(0, 0, 8, 16));
    EXPECT_EQ(events[1], copyEvent(640, 16, 8, 16));
    EXPECT_EQ(events[2], delayEvent(1));
    EXPECT_EQ(events[3], copyEvent(0, 32, 8, 16));
    EXPECT_EQ(events[events.size() - 3], copyEvent(640, 480, 8, 16));
    EXPECT_EQ(events[events.size() - 2], copyEvent(0, 496, 8, 16));
    EXPECT_TRUE(rig.showsStagedSlide());

    TransitionRig narrow(1362, 64);  // 170.25 -> 170 columns: the odd rows stop at x = 2
    ASSERT_TRUE(narrow.runEffect(kCounterRows));
    EXPECT_TRUE(
        narrow.uncoveredExactlyWhere([](int x, int y) { return x < 2 && (y / 16) % 2 == 1; }));
}

TEST(SpiralBlocks, CarriesThePositionFromPassToPass) {
    TransitionRig rig(40, 30);  // c1 = 4, r1 = 3
    ASSERT_TRUE(rig.runEffect(kSpiralBlocks));
    std::vector<std::pair<int, int>> positions;
    for (const TraceEvent& e : rig.draws()) {
        EXPECT_EQ(e.w, 10);
        positions.emplace_back(e.x, e.y);
    }
    const std::vector<std::pair<int, int>> expected = {
        // Cycle 1: down column 0, along the row above the last, up the column left of the last, the
        // top row back.
        {0, 0},
        {0, 10},
        {0, 20},
        {0, 30},
        {0, 20},
        {10, 20},
        {20, 20},
        {30, 20},
        {40, 20},
        {30, 30},
        {30, 20},
        {30, 10},
        {30, 0},
        {40, 0},
        {30, 0},
        {20, 0},
        {10, 0},
        {0, 0},
        // Cycle 2: columns 1 to 3, rows 1 to 2, starting from column 0 where cycle 1 ended.
        {0, 10},
        {0, 20},
        {10, 10},
        {20, 10},
        {30, 10},
        {20, 20},
        {20, 10},
        {30, 10},
        {20, 10},
        {10, 10},
    };
    EXPECT_EQ(positions, expected);
    EXPECT_EQ(rig.delays(), 28);
    EXPECT_EQ(rig.events()[1], delayEvent(2));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(SpiralBlocks, KeepsCyclingAlongTheLongerSideAfterTheRowsRunOut) {
    TransitionRig rig(100, 20);  // c1 = 10, r1 = 2: five cycles, the last three without rows
    ASSERT_TRUE(rig.runEffect(kSpiralBlocks));
    // Cycles copy 3+11+3+11, 1+9+1+9, then 0+7+0+7, 0+5+0+5, 0+3+0+3.
    EXPECT_EQ(rig.copies(), 28 + 20 + 14 + 10 + 6);
    ASSERT_TRUE(rig.transition(kSpiralBlocks));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(DiamondOut, DrawsRingsOfFourKBlocksFromTheCentre) {
    TransitionRig rig(640, 480);  // 80 x 60 blocks, 80 rings
    ASSERT_TRUE(rig.runEffect(kDiamondOut));
    EXPECT_EQ(rig.delays(), 80);
    EXPECT_EQ(rig.copies(), 1 + 4 * (80 * 81 / 2));
    const auto& events = rig.events();
    EXPECT_EQ(events[0], copyEvent(320, 240, 8, 8));
    // Ring 1 from its top vertex clockwise, then its pause.
    EXPECT_EQ(events[1], copyEvent(320, 232, 8, 8));
    EXPECT_EQ(events[2], copyEvent(328, 240, 8, 8));
    EXPECT_EQ(events[3], copyEvent(320, 248, 8, 8));
    EXPECT_EQ(events[4], copyEvent(312, 240, 8, 8));
    EXPECT_EQ(events[5], delayEvent(1));
    EXPECT_EQ(events[6], copyEvent(320, 224, 8, 8));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(DiamondOut, OnASquarePictureTheRingsStopShortOfTheTopLeftCorner) {
    TransitionRig rig(600, 600);  // 75 rings around the block at (300, 300)
    ASSERT_TRUE(rig.runEffect(kDiamondOut));
    EXPECT_EQ(rig.delays(), 75);
    // Pixel (0, 0) lies in block (-38, -38), 76 rings out; the other corners are 75 out.
    EXPECT_TRUE(rig.uncoveredExactly(0, 0, 4, 4));
    ASSERT_TRUE(rig.transition(kDiamondOut));
    EXPECT_TRUE(rig.showsStagedSlide());

    TransitionRig odd(641,
                      481);  // exact counts 80.125 and 60.125: 80 rings, centre at (320.5, 240.5)
    ASSERT_TRUE(odd.runEffect(kDiamondOut));
    EXPECT_EQ(odd.delays(), 80);
    EXPECT_EQ(odd.events()[0], copyEvent(320, 240, 8, 8));
    EXPECT_TRUE(odd.showsStagedSlide());
}

TEST(RandomBlocks, DoublesTheBlockSizeOverEightPassesOfOneAndAHalfGrids) {
    TransitionRig rig(640, 480);
    rig.state.random.seed(1234);
    Random reference;
    reference.seed(1234);
    ASSERT_TRUE(rig.runEffect(kRandomBlocks));

    const std::vector<int> passCounts = {4778, 1238, 332, 95, 30, 14, 6, 2};
    const auto draws = rig.draws();
    ASSERT_EQ(rig.copies(), 6495);
    EXPECT_EQ(rig.delays(), 6495);
    size_t at = 0;
    int size = 10;
    for (int count : passCounts) {
        const int columns = toInt16(640.0 / size), rows = toInt16(480.0 / size);
        int highestColumn = 0, highestRow = 0;
        for (int i = 0; i < count; ++i, ++at) {
            const TraceEvent& e = draws[at];
            ASSERT_EQ(e.w, size);
            ASSERT_EQ(e.h, size);
            ASSERT_EQ(e.x % size, 0);
            ASSERT_EQ(e.y % size, 0);
            highestColumn = std::max(highestColumn, e.x / size);
            highestRow = std::max(highestRow, e.y / size);
        }
        EXPECT_LE(highestColumn, columns);
        EXPECT_LE(highestRow, rows);
        if (size == 10) {
            EXPECT_EQ(highestColumn, 64);  // the rounded end value comes up too
            EXPECT_EQ(highestRow, 48);
        }
        size *= 2;
    }
    EXPECT_EQ(draws.back(), copyEvent(0, 0, 1280, 1280));

    // Two successive numbers of the saver's generator per block, x first.
    for (int i = 0; i < 3; ++i) {
        const int bx = toInt16(reference.next() * 64.0f);
        const int by = toInt16(reference.next() * 48.0f);
        EXPECT_EQ(draws[static_cast<size_t>(i)], copyEvent(bx * 10, by * 10, 10, 10));
    }
    for (int i = 2 * 3; i < 2 * 6495; ++i) reference.next();
    EXPECT_EQ(rig.state.random.state(), reference.state());
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(RandomBlocks, TheSameSeedDrawsTheSameBlocks) {
    TransitionRig a(97, 61), b(97, 61);
    a.state.random.seed(99);
    b.state.random.seed(99);
    ASSERT_TRUE(a.runEffect(kRandomBlocks));
    ASSERT_TRUE(b.runEffect(kRandomBlocks));
    EXPECT_EQ(a.events(), b.events());
    EXPECT_TRUE(a.showsStagedSlide());
}

}  // namespace
}  // namespace pictavo::transitions::testing
