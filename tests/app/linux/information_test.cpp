#include "app/linux/information.h"

#include <gtest/gtest.h>

namespace pictavo::app {
namespace {

TEST(Information, HelpAndVersionAreFoundWhereverTheyStand) {
    EXPECT_EQ(informationAskedFor({"--help"}), Information::Usage);
    EXPECT_EQ(informationAskedFor({"-help"}), Information::Usage);
    EXPECT_EQ(informationAskedFor({"-root", "-h"}), Information::Usage);
    EXPECT_EQ(informationAskedFor({"--version"}), Information::Version);
    EXPECT_EQ(informationAskedFor({"/s", "-version"}), Information::Version);
    EXPECT_EQ(informationAskedFor({"--version", "--help"}), Information::Usage);
}

TEST(Information, TheSaversOwnSwitchesAndLookAlikesRunTheSaver) {
    for (const auto& arguments :
         std::vector<std::vector<std::string>>{{},
                                               {"/s"},
                                               {"/c"},
                                               {"/p", "123"},
                                               {"/a", "0x2a00007"},
                                               {"-root"},
                                               {"--root", "--window-id", "0x2a00007"},
                                               {"/h"},
                                               {"/?"},
                                               {"--helpful"},
                                               {"--HELP"},
                                               {"-v"},
                                               {"version"}}) {
        EXPECT_EQ(informationAskedFor(arguments), Information::None)
            << (arguments.empty() ? std::string("(none)") : arguments.front());
    }
}

TEST(Information, TheUsageNamesEverySwitchTheProgramTakes) {
    const std::string usage = usageText();
    for (const char* name : {"/s", "/c", "/p ID", "/a ID", "-root", "--root", "-window-id ID",
                             "--window-id ID", "--help", "--version", "XSCREENSAVER_WINDOW"}) {
        EXPECT_NE(usage.find(name), std::string::npos) << name;
    }
    EXPECT_EQ(usage.rfind("Usage: pictavo", 0), 0u);
    EXPECT_EQ(usage.back(), '\n');
}

TEST(Information, TheVersionIsOneLine) {
    const std::string version = versionText();
    EXPECT_EQ(version.rfind("pictavo ", 0), 0u);
    EXPECT_EQ(version.find('\n'), version.size() - 1);
}

}  // namespace
}  // namespace pictavo::app
