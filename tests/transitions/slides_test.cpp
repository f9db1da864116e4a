#include <gtest/gtest.h>

#include "transition_rig.h"

namespace pictavo::transitions::testing {
namespace {

constexpr int kSlideFromTop = 20, kSlideFromBottom = 21, kSlideFromLeft = 22, kSlideFromRight = 23,
              kSlideFromTopLeft = 24, kSlideFromBottomLeft = 25;

TEST(SlideFromLeft, StepsExactlyAndRoundsAtTheDraw) {
    TransitionRig rig(1024, 2);  // p = 12.8
    ASSERT_TRUE(rig.runEffect(kSlideFromLeft));
    EXPECT_EQ(rig.copies(), 81);
    EXPECT_EQ(rig.delays(), 81);
    const auto draws = rig.draws();
    EXPECT_EQ(draws[0], drawAtEvent(-1024, 0, 1024, 2));
    EXPECT_EQ(draws[1], drawAtEvent(-1011, 0, 1024, 2));
    EXPECT_EQ(draws[2], drawAtEvent(-998, 0, 1024, 2));  // -998.4
    EXPECT_EQ(draws[80], drawAtEvent(0, 0, 1024, 2));
    EXPECT_EQ(rig.events()[1], delayEvent(1));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(SlideFromRight, RoundsHalvesToEven) {
    TransitionRig rig(1000, 2);  // p = 12.5
    ASSERT_TRUE(rig.runEffect(kSlideFromRight));
    const auto draws = rig.draws();
    EXPECT_EQ(draws[0].x, 1000);
    EXPECT_EQ(draws[1].x, 988);  // 987.5
    EXPECT_EQ(draws[3].x, 962);  // 962.5
    EXPECT_EQ(draws[80].x, 0);
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(SlideFromTop, UsesAWholePixelStep) {
    TransitionRig rig(2, 600);  // p = 15
    ASSERT_TRUE(rig.runEffect(kSlideFromTop));
    EXPECT_EQ(rig.copies(), 41);
    EXPECT_EQ(rig.draws()[0], drawAtEvent(0, -600, 2, 600));
    EXPECT_EQ(rig.draws()[1], drawAtEvent(0, -585, 2, 600));
    EXPECT_EQ(rig.draws()[40], drawAtEvent(0, 0, 2, 600));
    EXPECT_TRUE(rig.showsStagedSlide());

    TransitionRig odd(2, 767);  // p = 19: starts at -760 and still ends at 0
    ASSERT_TRUE(odd.runEffect(kSlideFromTop));
    EXPECT_EQ(odd.draws()[0].y, -760);
    EXPECT_TRUE(odd.showsStagedSlide());
}

TEST(SlideFromBottom, StopsShortOfTheTopWhenTheHeightIsNoMultipleOfTheSteps) {
    TransitionRig rig(3, 768);  // p = 19, last draw at 768 - 760 = 8
    ASSERT_TRUE(rig.runEffect(kSlideFromBottom));
    EXPECT_EQ(rig.copies(), 41);
    EXPECT_EQ(rig.draws()[0], drawAtEvent(0, 768, 3, 768));
    EXPECT_EQ(rig.draws()[40], drawAtEvent(0, 8, 3, 768));
    EXPECT_EQ(rig.shown(1, 7), kOldSlide);
    EXPECT_EQ(rig.shown(1, 8), stagedPixel(1, 0));
    EXPECT_EQ(rig.shown(2, 767), stagedPixel(2, 759));

    ASSERT_TRUE(rig.transition(kSlideFromBottom));
    EXPECT_EQ(rig.events().back(), copyEvent(0, 0, 3, 768));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(SlideFromBottomLeft, EndsAtTheOrigin) {
    TransitionRig rig(640, 480);  // p = 10.666..., q = 8
    ASSERT_TRUE(rig.runEffect(kSlideFromBottomLeft));
    EXPECT_EQ(rig.copies(), 61);
    EXPECT_EQ(rig.draws()[0], drawAtEvent(-640, 480, 640, 480));
    EXPECT_EQ(rig.draws()[1], drawAtEvent(-629, 472, 640, 480));
    EXPECT_EQ(rig.draws()[60], drawAtEvent(0, 0, 640, 480));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(SlideFromTopLeft, StartsAWholePictureAboveAndLeft) {
    TransitionRig rig(301, 199);
    ASSERT_TRUE(rig.runEffect(kSlideFromTopLeft));
    EXPECT_EQ(rig.copies(), 61);
    EXPECT_EQ(rig.draws()[0], drawAtEvent(-301, -199, 301, 199));
    EXPECT_EQ(rig.draws()[1], drawAtEvent(-296, -196, 301, 199));  // -295.98, -195.68
    EXPECT_EQ(rig.draws()[60], drawAtEvent(0, 0, 301, 199));
    EXPECT_TRUE(rig.showsStagedSlide());
}

// Steps where x87 arithmetic (80-bit registers, rounded late) lands a pixel
// away from SSE2 and the 64-bit builds: mostly halves such as -298.5 that a
// longer register puts just past the half. Found by a sweep of sizes; every
// build must draw the 64-bit build's positions.
TEST(DiagonalSlides, StepAsTheSixtyFourBitBuildsDoWhereX87Differs) {
    struct Step {
        int width, height, step, x, y;
    };
    const Step steps[] = {
        {995, 743, 42, -298, -223},  // x87: -299
        {610, 974, 45, -152, -244},  // x87: -153, -243
        {610, 974, 57, -30, -49},    // x87: -31
        {603, 414, 45, -151, -104},  // x87: -103
        {626, 627, 50, -104, -104},  // x87: -105
    };
    for (const Step& s : steps) {
        TransitionRig topLeft(s.width, s.height);
        ASSERT_TRUE(topLeft.runEffect(kSlideFromTopLeft));
        EXPECT_EQ(topLeft.draws()[s.step], drawAtEvent(s.x, s.y, s.width, s.height))
            << s.width << "x" << s.height << " step " << s.step;
        TransitionRig bottomLeft(s.width, s.height);
        ASSERT_TRUE(bottomLeft.runEffect(kSlideFromBottomLeft));
        EXPECT_EQ(bottomLeft.draws()[s.step], drawAtEvent(s.x, -s.y, s.width, s.height))
            << s.width << "x" << s.height << " step " << s.step;
    }
}

}  // namespace
}  // namespace pictavo::transitions::testing
