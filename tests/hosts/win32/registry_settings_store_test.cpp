// The settings store against the real registry, under an application name of
// its own that the tests remove again.

#include "hosts/win32/registry_settings_store.h"

#include <gtest/gtest.h>

#include "registry_scratch.h"
#include "settings/settings.h"

namespace pictavo::platform::win32 {
namespace {

constexpr const char* kApplication = "Pictavo Settings Test";

class RegistrySettingsStoreTest : public ::testing::Test {
  protected:
    testing::ScratchKey scratch_{L"Software\\Pictavo Settings Test"};
    RegistrySettingsStore store_;
};

TEST_F(RegistrySettingsStoreTest, ReadingAnAbsentApplicationGivesNothingAndCreatesNothing) {
    EXPECT_EQ(store_.read(kApplication, "Pictavo", "Interval"), std::nullopt);
    EXPECT_FALSE(scratch_.exists());
}

TEST_F(RegistrySettingsStoreTest, WriteCreatesApplicationAndSectionAndReadsBack) {
    ASSERT_TRUE(store_.write(kApplication, "Pictavo", "Interval", "20").ok());
    EXPECT_EQ(store_.read(kApplication, "Pictavo", "Interval"), "20");
    // One key per application and section, one string value per setting.
    EXPECT_EQ(scratch_.rawString(L"Pictavo", L"Interval"), L"20");

    ASSERT_TRUE(store_.write(kApplication, "Pictavo", "Interval", "3").ok());
    EXPECT_EQ(store_.read(kApplication, "Pictavo", "Interval"), "3");
}

TEST_F(RegistrySettingsStoreTest, SectionsAndKeysAreSeparate) {
    ASSERT_TRUE(store_.write(kApplication, "ScreenSaver", "Password", "XYZ").ok());
    EXPECT_EQ(store_.read(kApplication, "Pictavo", "Password"), std::nullopt);
    EXPECT_EQ(store_.read(kApplication, "ScreenSaver", "Speed"), std::nullopt);
    EXPECT_EQ(store_.read(kApplication, "ScreenSaver", "Password"), "XYZ");
}

TEST_F(RegistrySettingsStoreTest, EmptyTextIsStoredNotAbsent) {
    ASSERT_TRUE(store_.write(kApplication, "ScreenSaver", "Password", "").ok());
    EXPECT_EQ(store_.read(kApplication, "ScreenSaver", "Password"), "");
}

TEST_F(RegistrySettingsStoreTest, TextIsUtf8InsideAndUtf16InTheRegistry) {
    const std::string folder =
        "D:\\Bilder \xC3\xA4\xC3\xB6\xC3\xBC \xE2\x82\xAC \xE6\x97\xA5";  // äöü € 日
    ASSERT_TRUE(store_.write(kApplication, "Pictavo", "PicturePath", folder).ok());
    EXPECT_EQ(store_.read(kApplication, "Pictavo", "PicturePath"), folder);
    EXPECT_EQ(scratch_.rawString(L"Pictavo", L"PicturePath"),
              L"D:\\Bilder \u00E4\u00F6\u00FC \u20AC \u65E5");
}

TEST_F(RegistrySettingsStoreTest, ValuesWrittenByOthersAreReadSafely) {
    // A string stored without its terminating zero keeps its last character.
    const wchar_t unterminated[] = {L'1', L'5'};
    scratch_.setRaw(L"Pictavo", L"Speed", REG_SZ, unterminated, sizeof unterminated);
    EXPECT_EQ(store_.read(kApplication, "Pictavo", "Speed"), "15");
    // A number where text belongs counts as absent, so the default applies.
    scratch_.setDword(L"Pictavo", L"Interval", 7);
    EXPECT_EQ(store_.read(kApplication, "Pictavo", "Interval"), std::nullopt);
    EXPECT_EQ(settings::loadInt32(store_, "Pictavo", "Interval", 10), 10);
}

TEST_F(RegistrySettingsStoreTest, ReadingTheSaverKeysThroughTheSettingsRules) {
    // The registry store under the same rules the core applies to any store.
    ASSERT_TRUE(settings::WriteSetting(store_, kApplication, "Pictavo", "Speed",
                                       settings::decimalText(1000))
                    .ok());
    EXPECT_EQ(settings::ReadSetting(store_, kApplication, "Pictavo", "Speed", "1"), "1000");
    EXPECT_EQ(settings::ReadSetting(store_, kApplication, "Pictavo", "Stretch", "0"), "0");
}

}  // namespace
}  // namespace pictavo::platform::win32
