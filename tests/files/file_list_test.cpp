#include "files/file_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "adapters/posix/std_file_system.h"
#include "temp_folder.h"

namespace pictavo::files {
namespace {

TEST(Patterns, MatchTheExtensionWithoutRegardToCase) {
    EXPECT_TRUE(matchesPatternList("HOLIDAY.JPG", kPicturePatterns));
    EXPECT_TRUE(matchesPatternList("a.Tga", kPicturePatterns));
    EXPECT_TRUE(
        matchesPatternList(".hidden.png", kPicturePatterns));  // hiding is the listing's affair
    EXPECT_FALSE(matchesPatternList("photo.jpeg", kPicturePatterns));
    EXPECT_FALSE(matchesPatternList("photo.jpg.txt", kPicturePatterns));
    EXPECT_FALSE(matchesPatternList("bmp", kPicturePatterns));
    EXPECT_TRUE(matchesPattern("a.b.c", "*.c"));
    EXPECT_TRUE(matchesPattern("abc", "a?c"));
    EXPECT_FALSE(matchesPattern("ac", "a?c"));
    EXPECT_FALSE(matchesPatternList("x.bmp", ""));
    EXPECT_TRUE(matchesPatternList("x.bmp", ";;*.bmp"));
}

TEST(Patterns, ManyStarsDoNotTakeExponentialTime) {
    std::string name(5000, 'a');
    EXPECT_FALSE(matchesPattern(name, "*a*a*a*a*a*a*a*a*a*b"));
}

TEST(ListFiles, ListsPlainVisibleMatchingFilesInNameOrder) {
    TempFolder folder;
    for (const char* name : {"b.png", "A.JPG", "c.jpeg", ".secret.bmp", "notes.txt", "d.Tif"})
        folder.write(name, "x");
    std::filesystem::create_directory(folder.path() / "sub.bmp");
    platform::StdFileSystem fs;
    auto names = listFiles(fs, folder.path().string(), kPicturePatterns);
    ASSERT_TRUE(names.ok()) << names.error().message;
    EXPECT_EQ(*names, (std::vector<std::string>{"A.JPG", "b.png", "d.Tif"}));

    auto folders = listFolders(fs, folder.path().string());
    ASSERT_TRUE(folders.ok());
    EXPECT_EQ(*folders, (std::vector<std::string>{"sub.bmp"}));
}

TEST(ListFiles, AMissingFolderIsAnErrorNotSomeOtherFolder) {
    platform::StdFileSystem fs;
    auto names = listFiles(fs, "/no/such/folder/anywhere", kPicturePatterns);
    ASSERT_FALSE(names.ok());
    EXPECT_NE(names.error().message.find("/no/such/folder/anywhere"), std::string::npos);
}

}  // namespace
}  // namespace pictavo::files
