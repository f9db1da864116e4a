#include "slideshow/picture_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "adapters/posix/std_file_system.h"
#include "temp_folder.h"

namespace pictavo::slideshow {
namespace {

TEST(PictureList, ListsMatchingPlainVisibleFilesOfTheOneFolder) {
    TempFolder folder;
    for (const char* name :
         {"b.png", "A.JPG", "holiday.jpeg", ".hidden.bmp", "x.Tif", "notes.txt", "c.WMF"})
        folder.write(name, "x");
    std::filesystem::create_directories(folder.path() / "inner.jpg");
    folder.write("inner.jpg/deep.jpg", "x");
    // Links count as what they point to: a picture, a folder, or nothing.
    std::filesystem::create_symlink(folder.path() / "b.png", folder.path() / "alias.png");
    std::filesystem::create_symlink(folder.path() / "gone.jpg", folder.path() / "dangling.jpg");
    std::filesystem::create_directory_symlink(folder.path() / "inner.jpg",
                                              folder.path() / "linked.bmp");
    platform::StdFileSystem files;

    PictureList list = PictureList::read(files, folder.withSeparator());

    ASSERT_EQ(list.ListCount(), 5);
    EXPECT_EQ(list.List(0), "A.JPG");
    EXPECT_EQ(list.List(1), "alias.png");
    EXPECT_EQ(list.List(2), "b.png");
    EXPECT_EQ(list.List(3), "c.WMF");
    EXPECT_EQ(list.List(4), "x.Tif");
}

TEST(PictureList, AFolderThatDoesNotExistListsNothing) {
    TempFolder cwdWithPictures;
    cwdWithPictures.write("a.bmp", "x");
    auto previous = std::filesystem::current_path();
    std::filesystem::current_path(cwdWithPictures.path());
    platform::StdFileSystem files;
    PictureList list = PictureList::read(files, "/no/such/folder/");
    std::filesystem::current_path(previous);
    EXPECT_TRUE(list.empty());
}

TEST(PickNextPicture, TwoPicturesAlternateStrictly) {
    PictureList list({"a.bmp", "b.bmp"});
    Random random;
    std::optional<int> last;
    for (int i = 0; i < 1000; ++i) {
        Pick pick = pickNextPicture(list, random, last);
        ASSERT_FALSE(pick.onlyPictureAgain);
        if (last) {
            ASSERT_EQ(pick.index, 1 - *last);
        }
        last = pick.index;
    }
}

TEST(PickNextPicture, TheOnlyPictureIsPickedFirstThenReportedAsComingAgain) {
    PictureList list({"only.jpg"});
    Random random;
    Pick first = pickNextPicture(list, random, std::nullopt);
    EXPECT_EQ(first.index, 0);
    EXPECT_FALSE(first.onlyPictureAgain);
    Pick again = pickNextPicture(list, random, 0);
    EXPECT_EQ(again.index, 0);
    EXPECT_TRUE(again.onlyPictureAgain);
}

TEST(PickNextPicture, ReachesEveryIndexButNeverTheLastOne) {
    PictureList list({"a", "b", "c", "d", "e"});
    Random random;
    std::set<int> seen;
    for (int i = 0; i < 500; ++i) {
        Pick pick = pickNextPicture(list, random, 2);
        ASSERT_NE(pick.index, 2);
        ASSERT_GE(pick.index, 0);
        ASSERT_LT(pick.index, 5);
        seen.insert(pick.index);
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 3, 4}));
}

}  // namespace
}  // namespace pictavo::slideshow
