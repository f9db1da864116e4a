#include "settings/settings.h"

#include <gtest/gtest.h>

#include "settings/memory_store.h"

namespace pictavo::settings {
namespace {

class SettingsTest : public ::testing::Test {
  protected:
    void store(const std::string& section, const std::string& key, const std::string& text) {
        ASSERT_TRUE(memory.write(kApplication, section, key, text).ok());
    }
    MemorySettingsStore memory;
};

TEST_F(SettingsTest, AFreshInstallationGetsTheDefaults) {
    EXPECT_EQ(loadInt32(memory, kSectionPictavo, kKeyInterval, kDefaultInterval), 10);
    EXPECT_EQ(loadInt16(memory, kSectionPictavo, kKeyStretch, kDefaultStretch), 0);
    EXPECT_EQ(loadInt16(memory, kSectionPictavo, kKeySpeed, kDefaultSpeed), 1);
    EXPECT_EQ(loadPicturePath(memory, "C:\\WINDOWS", '\\'), "C:\\WINDOWS\\");
    EXPECT_EQ(loadPassword(memory), "");
    EXPECT_TRUE(memory.values().empty()) << "reading must never create anything";
}

TEST_F(SettingsTest, NumbersRoundHalvesToEvenAndAllowBlanks) {
    store(kSectionPictavo, kKeyInterval, "2.5");
    EXPECT_EQ(loadInt32(memory, kSectionPictavo, kKeyInterval, 10), 2);
    store(kSectionPictavo, kKeyInterval, "3.5");
    EXPECT_EQ(loadInt32(memory, kSectionPictavo, kKeyInterval, 10), 4);
    store(kSectionPictavo, kKeyInterval, " 7 ");
    EXPECT_EQ(loadInt32(memory, kSectionPictavo, kKeyInterval, 10), 7);
    store(kSectionPictavo, kKeyInterval, "-3");
    EXPECT_EQ(loadInt32(memory, kSectionPictavo, kKeyInterval, 10), -3);
}

TEST_F(SettingsTest, UnusableNumbersFallBackToTheDefault) {
    store(kSectionPictavo, kKeySpeed, "fast");
    EXPECT_EQ(loadInt16(memory, kSectionPictavo, kKeySpeed, kDefaultSpeed), 1);
    store(kSectionPictavo, kKeySpeed, "40000");  // does not fit 16 bits
    EXPECT_EQ(loadInt16(memory, kSectionPictavo, kKeySpeed, kDefaultSpeed), 1);
    store(kSectionPictavo, kKeySpeed, "");
    EXPECT_EQ(loadInt16(memory, kSectionPictavo, kKeySpeed, kDefaultSpeed), 1);
    store(kSectionPictavo, kKeyInterval, "40000");  // fits 32 bits
    EXPECT_EQ(loadInt32(memory, kSectionPictavo, kKeyInterval, 10), 40000);
    store(kSectionPictavo, kKeyInterval, "99999999999");
    EXPECT_EQ(loadInt32(memory, kSectionPictavo, kKeyInterval, 10), 10);
}

TEST_F(SettingsTest, PicturePathAlwaysEndsWithTheSeparator) {
    store(kSectionPictavo, kKeyPicturePath, "D:\\PICS");
    EXPECT_EQ(loadPicturePath(memory, "C:\\WINDOWS", '\\'), "D:\\PICS\\");
    store(kSectionPictavo, kKeyPicturePath, "D:\\");
    EXPECT_EQ(loadPicturePath(memory, "C:\\WINDOWS", '\\'), "D:\\");
    store(kSectionPictavo, kKeyPicturePath, "");
    EXPECT_EQ(loadPicturePath(memory, "C:\\WINDOWS", '\\'), "\\");
    store(kSectionPictavo, kKeyPicturePath, "/home/ann/Pictures");
    EXPECT_EQ(loadPicturePath(memory, "/", '/'), "/home/ann/Pictures/");
}

TEST_F(SettingsTest, ThePasswordLivesInItsOwnSection) {
    store(kSectionPictavo, kKeyPassword, "WRONG");
    EXPECT_EQ(loadPassword(memory), "");
    ASSERT_TRUE(savePassword(memory, "ENC").ok());
    EXPECT_EQ(loadPassword(memory), "ENC");
    EXPECT_EQ(memory.writeLog().back(), "ScreenSaver/Password=ENC");
}

TEST_F(SettingsTest, SavingWritesFourPlainDecimalValuesInOrder) {
    ASSERT_TRUE(savePictureSettings(memory, "D:\\PICS", 20, 1000, 1).ok());
    EXPECT_EQ(memory.writeLog(),
              (std::vector<std::string>{"Pictavo/PicturePath=D:\\PICS", "Pictavo/Interval=20",
                                        "Pictavo/Speed=1000", "Pictavo/Stretch=1"}));
    EXPECT_EQ(decimalText(10), "10");
    EXPECT_EQ(decimalText(0), "0");
}

TEST_F(SettingsTest, AFailedWriteIsReported) {
    memory.failWrites(true);
    Result<void> saved = savePictureSettings(memory, "D:\\PICS", 20, 1000, 1);
    ASSERT_FALSE(saved.ok());
    EXPECT_NE(saved.error().message.find("PicturePath"), std::string::npos);
}

}  // namespace
}  // namespace pictavo::settings
