// ReadRegistryText on the real registry: values the test writes itself under
// HKEY_CURRENT_USER\Software\PictavoTest.

#include <gtest/gtest.h>

#include <string>

#include "hosts/win32/win32_registry.h"
#include "registry_scratch.h"
#include "startup/system_queries.h"

namespace pictavo::platform::win32 {
namespace {

constexpr const char* kKey = "Software\\PictavoTest";

class ReadRegistryTextTest : public ::testing::Test {
  protected:
    std::string read(const std::string& valueName, const std::string& subKey = kKey) {
        return startup::ReadRegistryText(registry_, startup::kHkeyCurrentUser, subKey, valueName);
    }

    testing::ScratchKey scratch_{L"Software\\PictavoTest"};
    Win32Registry registry_;
};

TEST_F(ReadRegistryTextTest, StringValuesComeBackWithoutTheirTerminator) {
    scratch_.setString(L"", L"Switch", L"1");
    scratch_.setString(L"", L"Words", L"two words");
    scratch_.setString(L"", L"Empty", L"");
    EXPECT_EQ(read("Switch"), "1");
    EXPECT_EQ(read("Words"), "two words");
    EXPECT_EQ(read("Empty"), "");
}

TEST_F(ReadRegistryTextTest, DwordValuesComeBackAsAtLeastThreeDigits) {
    scratch_.setDword(L"", L"Zero", 0);
    scratch_.setDword(L"", L"One", 1);
    scratch_.setDword(L"", L"Big", 1000);
    EXPECT_EQ(read("Zero"), "000");
    EXPECT_EQ(read("One"), "001");
    EXPECT_EQ(read("Big"), "1000");
}

TEST_F(ReadRegistryTextTest, AnythingMissingOrTooLongGivesTheEmptyText) {
    scratch_.setString(L"", L"Long", std::wstring(300, L'x'));
    EXPECT_EQ(read("Absent"), "");
    EXPECT_EQ(read("Switch", "Software\\PictavoTest\\NoSuchKey"), "");
    // More than the 255 bytes the reader offers: the query fails.
    EXPECT_EQ(read("Long"), "");
    EXPECT_EQ(startup::ReadRegistryText(registry_, 0x12345678u, kKey, "Switch"), "");
}

}  // namespace
}  // namespace pictavo::platform::win32
