#include <gtest/gtest.h>

#include "transition_rig.h"

namespace pictavo::transitions::testing {
namespace {

constexpr int kStretchFromCentre = 32, kStretchOpenVertical = 33, kStretchFromLeft = 35;

struct StretchCase {
    int effect;
    int steps;
    TraceEvent first;
    TraceEvent last;  // of the loop, before the full draw
};

TEST(StretchReveals, GrowTheirRectangleStepByStepAndEndWithTheFullDraw) {
    const StretchCase cases[] = {
        {32, 64, stretchEvent(319, 239, 2, 2), stretchEvent(4, 3, 632, 474)},
        {33, 48, stretchEvent(0, 239, 640, 2), stretchEvent(0, 4, 640, 472)},
        {34, 64, stretchEvent(319, 0, 2, 480), stretchEvent(4, 0, 632, 480)},
        {35, 64, stretchEvent(0, 0, 1, 480), stretchEvent(0, 0, 631, 480)},
        {36, 64, stretchEvent(639, 0, 1, 480), stretchEvent(9, 0, 631, 480)},
        {37, 48, stretchEvent(0, 0, 640, 1), stretchEvent(0, 0, 640, 471)},
        {38, 48, stretchEvent(0, 479, 640, 1), stretchEvent(0, 9, 640, 471)},
        {39, 64, stretchEvent(0, 0, 1, 1), stretchEvent(0, 0, 631, 473)},
        {40, 64, stretchEvent(639, 0, 1, 1), stretchEvent(9, 0, 631, 473)},
        {41, 64, stretchEvent(0, 479, 1, 1), stretchEvent(0, 7, 631, 473)},
        {42, 64, stretchEvent(639, 479, 1, 1), stretchEvent(9, 7, 631, 473)},
    };
    for (const StretchCase& c : cases) {
        SCOPED_TRACE(c.effect);
        TransitionRig rig(640, 480);
        ASSERT_TRUE(rig.runEffect(c.effect));
        EXPECT_EQ(rig.delays(), c.steps);
        EXPECT_EQ(rig.stretches(), c.steps + 1);
        EXPECT_EQ(rig.copies(), 0);
        const auto& events = rig.events();
        ASSERT_EQ(events.size(), static_cast<size_t>(2 * c.steps + 1));
        EXPECT_EQ(events[0], c.first);
        EXPECT_EQ(events[1], delayEvent(50));
        EXPECT_EQ(events[events.size() - 3], c.last);
        EXPECT_EQ(events.back(), stretchEvent(0, 0, 640, 480));  // no pause after it
        // The image is already at screen size: the full draw is an exact copy.
        EXPECT_TRUE(rig.showsStagedSlide());

        ASSERT_TRUE(rig.transition(c.effect));
        EXPECT_EQ(rig.events().back(), copyEvent(0, 0, 640, 480));
    }
}

TEST(StretchReveals, KeepTheScreensShapeByItsExactRatio) {
    TransitionRig rig(800, 600);  // StretchOpenVertical: full width, growing from the middle line
    ASSERT_TRUE(rig.runEffect(kStretchOpenVertical));
    EXPECT_EQ(rig.delays(), 60);
    EXPECT_EQ(rig.events()[0], stretchEvent(0, 299, 800, 2));
    EXPECT_EQ(rig.events()[rig.events().size() - 3], stretchEvent(0, 4, 800, 592));

    TransitionRig odd(1366, 768);  // r = 0.5622..., centre (683, 384)
    ASSERT_TRUE(odd.runEffect(kStretchFromCentre));
    EXPECT_EQ(odd.delays(), 137);                              // i = 1, 6, ..., 681
    EXPECT_EQ(odd.events()[0], stretchEvent(682, 383, 2, 1));  // height 2 x 0.5622 = 1.12
    EXPECT_EQ(odd.events()[odd.events().size() - 3], stretchEvent(2, 1, 1362, 766));
    EXPECT_TRUE(odd.showsStagedSlide());
}

TEST(StretchReveals, ScaleTheWholeImageWhateverItsSize) {
    TransitionRig rig(640, 480);
    rig.state.ImageWidth = 320;  // the image is the top-left quarter of Picture1
    rig.state.ImageHeight = 240;
    ASSERT_TRUE(rig.runEffect(kStretchFromLeft));
    EXPECT_EQ(rig.shown(0, 0), stagedPixel(0, 0));
    EXPECT_EQ(rig.shown(639, 479), stagedPixel(319, 239));
    EXPECT_EQ(rig.shown(321, 241), stagedPixel(160, 120));
    ASSERT_TRUE(rig.transition(kStretchFromLeft));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(StretchReveals, MeasureTheScreenAfreshAtEachStartAndClipToASmallerBox) {
    TransitionRig rig(160, 120);  // a preview-sized box
    rig.screen.setPixels(640, 480);
    ASSERT_TRUE(rig.runEffect(kStretchFromLeft));
    EXPECT_EQ(rig.delays(), 64);
    EXPECT_EQ(rig.events().back(), stretchEvent(0, 0, 640, 480));
    // Only the top-left quarter of the four-times enlarged image shows in the box.
    EXPECT_EQ(rig.shown(159, 119), stagedPixel(39, 29));

    rig.screen.setPixels(320, 200);
    rig.trace.events.clear();
    ASSERT_TRUE(rig.transition(kStretchFromLeft));
    EXPECT_EQ(rig.delays(), 32);
    EXPECT_EQ(rig.events()[rig.events().size() - 2], stretchEvent(0, 0, 320, 200));
    EXPECT_EQ(rig.events().back(), copyEvent(0, 0, 160, 120));
    EXPECT_TRUE(rig.showsStagedSlide());
}

TEST(StretchReveals, AScreenWithoutSizeDrawsNothingButStillEnds) {
    TransitionRig rig(40, 30);
    rig.screen.setPixels(0, 0);
    ASSERT_TRUE(rig.transition(kStretchFromCentre));
    EXPECT_EQ(rig.delays(), 0);
    EXPECT_EQ(rig.events().front(), stretchEvent(0, 0, 0, 0));
    EXPECT_TRUE(rig.showsStagedSlide());
}

}  // namespace
}  // namespace pictavo::transitions::testing
