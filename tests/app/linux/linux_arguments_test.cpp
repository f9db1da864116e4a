#include "app/linux/linux_arguments.h"

#include <gtest/gtest.h>

namespace pictavo::app {
namespace {

LinuxArguments parsed(const std::vector<std::string>& arguments) {
    auto result = parseLinuxArguments(arguments);
    EXPECT_TRUE(result.ok()) << (result.ok() ? "" : result.error().message);
    return result.ok() ? *result : LinuxArguments{};
}

TEST(LinuxArguments, TheSwitchesReachTheCoreAsOneCommandLine) {
    EXPECT_EQ(parsed({"/s"}).commandLine, "/s");
    EXPECT_EQ(parsed({"/p", "1234"}).commandLine, "/p 1234");
    EXPECT_EQ(parsed({"/a:77"}).commandLine, "/a:77");
    EXPECT_EQ(parsed({}).commandLine, "");
    EXPECT_EQ(parsed({"/p", "1234"}).target, DrawTarget::OwnWindows);
}

TEST(LinuxArguments, AScreenSaverHostNamesItsWindowInDecimalOrHex) {
    LinuxArguments hex = parsed({"-window-id", "0x2a00007"});
    EXPECT_EQ(hex.target, DrawTarget::HostWindow);
    EXPECT_EQ(hex.windowId, 0x2a00007u);
    EXPECT_EQ(hex.commandLine, "");
    EXPECT_EQ(hex.windowNamed, "0x2a00007");  // messages echo it as it was given
    LinuxArguments decimal = parsed({"--window-id", "44040199"});
    EXPECT_EQ(decimal.windowId, 44040199u);
}

TEST(LinuxArguments, PreviewAndPasswordTakeHexWindowIdsAsDecimalOnes) {
    EXPECT_EQ(parsed({"/p", "0x50d"}).commandLine, "/p 1293");
    EXPECT_EQ(parsed({"/p", "0x50d"}).windowNamed, "0x50d");
    EXPECT_EQ(parsed({"/p"}).windowNamed, "");
    EXPECT_EQ(parsed({"/A", "0X1F"}).commandLine, "/A 31");
    EXPECT_EQ(parsed({"/p:0x2a00007"}).commandLine, "/p:44040199");
    EXPECT_EQ(parsed({"/p", "1293"}).commandLine, "/p 1293");
    // Not hex, or not a handle: as it was.
    EXPECT_EQ(parsed({"/p", "0xZZ"}).commandLine, "/p 0xZZ");
    EXPECT_EQ(parsed({"/s", "0x50d"}).commandLine, "/s 0x50d");
    EXPECT_EQ(parsed({"/p", "0x123456789"}).commandLine, "/p 0x123456789");
}

TEST(LinuxArguments, ErrorsEchoOnlyTheStartOfALongArgument) {
    const std::string huge(131000, '7');
    auto result = parseLinuxArguments({"-window-id", huge + "x"});
    ASSERT_FALSE(result.ok());
    EXPECT_LT(result.error().message.size(), 100u);
    EXPECT_EQ(result.error().message.rfind("not a window id: 777", 0), 0u);
    EXPECT_TRUE(result.error().message.ends_with("..."));
}

TEST(LinuxArguments, RootDrawsOnTheScreenWhateverElseComes) {
    LinuxArguments root = parsed({"-root", "/c"});
    EXPECT_EQ(root.target, DrawTarget::RootWindow);
    EXPECT_EQ(root.commandLine, "/c");
    EXPECT_EQ(parsed({"--root"}).target, DrawTarget::RootWindow);
}

TEST(LinuxArguments, TheTraceFileIsKeptOutOfTheCommandLine) {
    LinuxArguments traced = parsed({"/s", "--trace", "/tmp/show.trace"});
    EXPECT_EQ(traced.commandLine, "/s");
    EXPECT_EQ(traced.traceFile, "/tmp/show.trace");
    EXPECT_EQ(parsed({"/s"}).traceFile, "");
    EXPECT_FALSE(parseLinuxArguments({"/s", "--trace"}).ok());
    EXPECT_FALSE(parseLinuxArguments({"/s", "--trace", ""}).ok());
}

TEST(LinuxArguments, AWindowIdThatIsNoneIsRefused) {
    for (const auto& arguments :
         std::vector<std::vector<std::string>>{{"-window-id"},
                                               {"-window-id", "-root"},
                                               {"-window-id", "12ab"},
                                               {"-window-id", "0"},
                                               {"-window-id", "0x1ffffffff"},
                                               {"-window-id", ""}}) {
        auto result = parseLinuxArguments(arguments);
        EXPECT_FALSE(result.ok()) << arguments.size() << " arguments";
    }
}

}  // namespace
}  // namespace pictavo::app
