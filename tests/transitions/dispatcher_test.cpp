#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

#include "transition_rig.h"

namespace pictavo::transitions::testing {
namespace {

TEST(Transition, NumbersOutside0To42DrawNothingAndReturnAtOnce) {
    for (int effect : {43, -1, 1000, INT_MIN, INT_MAX}) {
        TransitionRig rig(16, 12);
        EXPECT_TRUE(rig.transition(effect));
        EXPECT_TRUE(rig.events().empty());
        EXPECT_EQ(rig.loop.dispatchCount(), 0);
        EXPECT_EQ(rig.uncoveredPixels(), 16 * 12);
        EXPECT_TRUE(effectName(effect).empty());
    }
}

TEST(Transition, EveryEffectDrawsPausesAndEndsOnTheStagedPicture) {
    struct Size {
        int w, h;
    };
    for (Size size : {Size{64, 48}, Size{67, 45}, Size{45, 67}}) {
        for (int effect = 0; effect < kEffectCount; ++effect) {
            SCOPED_TRACE(std::string(effectName(effect)) + " at " + std::to_string(size.w) + "x" +
                         std::to_string(size.h));
            TransitionRig pattern(size.w, size.h);
            ASSERT_TRUE(pattern.runEffect(effect));
            EXPECT_GT(pattern.delays(), 0);
            EXPECT_GT(pattern.copies() + pattern.stretches(), 0);
            EXPECT_LT(pattern.oldSlidePixels(), size.w * size.h);  // it drew something

            TransitionRig rig(size.w, size.h);
            ASSERT_TRUE(rig.transition(effect));
            EXPECT_EQ(rig.loop.dispatchCount(), rig.delays());
            EXPECT_EQ(rig.events().back(), copyEvent(0, 0, size.w, size.h));
            EXPECT_EQ(rig.events().size(), pattern.events().size() + 1);
            EXPECT_TRUE(rig.showsStagedSlide());
        }
    }
}

TEST(Transition, TheTableNamesEachRoutineOnce) {
    EXPECT_EQ(effectName(0), "WipeDown");
    EXPECT_EQ(effectName(9), "SmearUp");
    EXPECT_EQ(effectName(31), "CentreOutColumns");
    EXPECT_EQ(effectName(32), "StretchFromCentre");
    EXPECT_EQ(effectName(42), "StretchFromBottomRight");
    std::set<std::string_view> names;
    for (int effect = 0; effect < kEffectCount; ++effect) names.insert(effectName(effect));
    EXPECT_EQ(names.size(), 43u);
}

TEST(Transition, SmearUpTakesItsBandCountFromTheHeightOfPicture2) {
    TransitionRig rig(3, 40, 3,
                      60);  // m = 30 from Picture2; t = Int(40 / 30) rounded = 1 from Picture1
    ASSERT_TRUE(rig.runEffect(9));
    EXPECT_EQ(rig.copies(), 31 * 32 / 2);
    EXPECT_EQ(rig.events()[0], bandEvent(0, 0, 3, 1, 0, 30));
}

TEST(Transition, EffectsReadTheSizesOfTheBoxTheirStepsName) {
    // Interlaced rows: count and width from Picture2.
    TransitionRig rows(30, 40, 50, 60);
    ASSERT_TRUE(rows.runEffect(14));
    EXPECT_EQ(rows.copies(), 6);
    EXPECT_EQ(rows.draws()[0], copyEvent(0, 0, 50, 10));
    // Vertical blinds: band width and height from Picture2.
    TransitionRig blinds(30, 40, 60, 50);
    ASSERT_TRUE(blinds.runEffect(19));
    EXPECT_EQ(blinds.delays(), 3);
    EXPECT_EQ(blinds.draws().back(), copyEvent(57, 0, 3, 50));
    // Slides draw all of Picture1 and step by the height of Picture2.
    TransitionRig slide(30, 40, 50, 80);
    ASSERT_TRUE(slide.runEffect(21));
    EXPECT_EQ(slide.draws()[1], drawAtEvent(0, 78, 30, 40));
    // The diagonal bounds both come from the width of Picture2.
    TransitionRig diagonal(30, 40, 24, 60);
    ASSERT_TRUE(diagonal.runEffect(11));
    EXPECT_EQ(diagonal.delays(), 3 + 3);
}

}  // namespace
}  // namespace pictavo::transitions::testing
