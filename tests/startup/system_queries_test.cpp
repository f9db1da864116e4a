#include "startup/system_queries.h"

#include <gtest/gtest.h>

#include "hosts/headless/headless_registry.h"
#include "hosts/headless/headless_window_system.h"

namespace pictavo::startup {
namespace {

using platform::headless::HeadlessRegistry;

class ReadRegistryTextTest : public ::testing::Test {
  protected:
    std::string read(const std::string& value, uint32_t root = kHkeyCurrentUser) {
        std::string text = ReadRegistryText(registry, root, kDesktopKey, value);
        EXPECT_EQ(registry.openKeys(), 0) << "every opened key is closed again";
        return text;
    }
    HeadlessRegistry registry;
};

TEST_F(ReadRegistryTextTest, TextValuesComeBackWithoutTheirTerminator) {
    registry.setString(kHkeyCurrentUser, kDesktopKey, "ScreenSaveUsePassword", "1");
    EXPECT_EQ(read("ScreenSaveUsePassword"), "1");
    registry.setString(kHkeyCurrentUser, kDesktopKey, "Empty", "");
    EXPECT_EQ(read("Empty"), "");
}

TEST_F(ReadRegistryTextTest, NumbersComeBackAsAtLeastThreeDigits) {
    registry.setDword(kHkeyCurrentUser, kDesktopKey, "Zero", 0);
    registry.setDword(kHkeyCurrentUser, kDesktopKey, "One", 1);
    registry.setDword(kHkeyCurrentUser, kDesktopKey, "Big", 1000);
    EXPECT_EQ(read("Zero"), "000");
    EXPECT_EQ(read("One"), "001");
    EXPECT_EQ(read("Big"), "1000");  // all digits, not the first three
}

TEST_F(ReadRegistryTextTest, AnyFailureGivesTheEmptyText) {
    EXPECT_EQ(read("ScreenSaveUsePassword"), "");  // no key at all
    registry.addKey(kHkeyCurrentUser, kDesktopKey);
    EXPECT_EQ(read("ScreenSaveUsePassword"), "");  // key without the value
    registry.setString(kHkeyCurrentUser, kDesktopKey, "Long", std::string(300, 'x'));
    EXPECT_EQ(read("Long"), "");  // does not fit the 255-byte buffer
    registry.setString(0x80000007u, kDesktopKey, "ScreenSaveUsePassword", "1");
    EXPECT_EQ(read("ScreenSaveUsePassword", 0x80000007u), "");  // not a predefined root
    EXPECT_EQ(read("ScreenSaveUsePassword", 5), "");
}

TEST(NoWindowTitledTest, LooksForAnExactTopLevelCaption) {
    platform::headless::HeadlessWindowSystem windows;
    EXPECT_TRUE(NoWindowTitled(windows, "Screen Saver Main Form"));
    platform::WindowHandle other = windows.createWindow("Screen Saver Main Form", 10, 10);
    EXPECT_FALSE(NoWindowTitled(windows, "Screen Saver Main Form"));
    EXPECT_TRUE(NoWindowTitled(windows, "Screen Saver Main"));
    windows.destroyWindow(other);
    EXPECT_TRUE(NoWindowTitled(windows, "Screen Saver Main Form"));
}

}  // namespace
}  // namespace pictavo::startup
