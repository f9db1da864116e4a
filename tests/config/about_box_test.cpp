#include "config/about_box.h"

#include <gtest/gtest.h>

#include <set>

#include "config/colours.h"
#include "config/config_fixture.h"

namespace pictavo::config {
namespace {

class AboutBoxTest : public DialogTest {
  protected:
    HeadlessForm& open() {
        dialog = std::make_unique<AboutBox>(host, state);
        dialog->showModal(nullptr);
        HeadlessForm* form = find("frmAbout");
        EXPECT_NE(form, nullptr);
        return *form;
    }
    platform::Control& screen(HeadlessForm& form) { return form.control("LittleScreen"); }

    std::unique_ptr<AboutBox> dialog;
};

TEST_F(AboutBoxTest, OpensShortAndCentredWithNameAndVersion) {
    HeadlessForm& form = open();
    EXPECT_TRUE(form.shownModal());
    EXPECT_EQ(form.caption(), "About Pictavo/32");
    EXPECT_EQ(form.control("Label1").caption(), "Pictavo Version 5.0");
    // 1440 + 2.5 x 375 = 2377.5, to the even 2378: with its title bar the
    // window ends just below the expand button, above the notice.
    EXPECT_EQ(form.bounds().height, 2378);
    EXPECT_EQ(form.bounds().left, (9600 - 7470) / 2);
    EXPECT_EQ(form.bounds().top, 2411);  // (7200 - 2378) / 2
}

TEST_F(AboutBoxTest, ExpandsOnceAndStaysWhereItIs) {
    HeadlessForm& form = open();
    const platform::TwipsRect shortForm = form.bounds();
    form.click("btnExpand");
    const platform::TwipsRect expanded = form.bounds();
    EXPECT_EQ(expanded.height, 2040 + 1560 + 360);
    EXPECT_EQ(expanded.left, shortForm.left);
    EXPECT_EQ(expanded.top, shortForm.top);
    EXPECT_EQ(expanded.width, shortForm.width);
    form.click("btnExpand");
    EXPECT_EQ(form.bounds().height, expanded.height);
    EXPECT_EQ(form.bounds().top, expanded.top);
    EXPECT_TRUE(form.control("btnExpand").visible());
}

TEST_F(AboutBoxTest, EveryTickDrawsPatternThenColourFromTheProgramsGenerator) {
    state.random.seed(2024);
    HeadlessForm& form = open();
    EXPECT_EQ(screen(form).fillStyle(), 0);
    EXPECT_EQ(screen(form).fillColour(), 0x00FFFF00u);

    Random expected = state.random;
    for (int tick = 0; tick < 30; ++tick) {
        host.eventLoop().runFor(400);
        const int pattern = static_cast<int>(8 * expected.next());
        const int colour = static_cast<int>(16 * expected.next());
        ASSERT_EQ(screen(form).fillStyle(), pattern) << "tick " << tick;
        ASSERT_EQ(screen(form).fillColour(), kPalette16[static_cast<size_t>(colour)])
            << "tick " << tick;
    }
    EXPECT_EQ(state.random.state(), expected.state());
}

TEST_F(AboutBoxTest, PatternsAndColoursCoverTheirRanges) {
    HeadlessForm& form = open();
    std::set<int> patterns;
    std::set<platform::Colour> colours;
    for (int tick = 0; tick < 400; ++tick) {
        host.eventLoop().runFor(400);
        patterns.insert(screen(form).fillStyle());
        colours.insert(screen(form).fillColour().value_or(0));
    }
    EXPECT_EQ(patterns, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(colours, std::set<platform::Colour>(kPalette16.begin(), kPalette16.end()));
}

TEST_F(AboutBoxTest, OkOrEnterClosesItAndTheScreenStops) {
    HeadlessForm& form = open();
    form.pressKey(kEnter);
    EXPECT_FALSE(form.loaded());
    const uint32_t before = state.random.state();
    host.eventLoop().runFor(4000);
    EXPECT_EQ(state.random.state(), before);

    HeadlessForm& again = open();
    again.click("Command2");
    EXPECT_FALSE(again.loaded());
}

}  // namespace
}  // namespace pictavo::config
