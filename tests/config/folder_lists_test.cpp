#include "config/folder_lists.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "config/folder_path.h"
#include "files/file_list.h"
#include "hosts/headless/headless_host.h"

namespace pictavo::config {
namespace {

using platform::ControlKind;
using platform::FolderEntry;

// Folder names and the lists' rules on Windows paths, whatever the build.
TEST(FolderPath, NormalFormHasNoFinalSeparatorExceptAtARoot) {
    EXPECT_EQ(normalFolder("C:\\WINDOWS\\", '\\'), "C:\\WINDOWS");
    EXPECT_EQ(normalFolder("C:\\WINDOWS", '\\'), "C:\\WINDOWS");
    EXPECT_EQ(normalFolder("D:\\", '\\'), "D:\\");
    EXPECT_EQ(normalFolder("D:", '\\'), "D:\\");
    EXPECT_EQ(normalFolder("d:\\pics\\\\2024\\.\\..\\old\\", '\\'), "d:\\pics\\old");
    EXPECT_EQ(normalFolder("/", '/'), "/");
    EXPECT_EQ(normalFolder("/home/ann/Pictures/", '/'), "/home/ann/Pictures");
    EXPECT_EQ(normalFolder("//home//ann/../bob", '/'), "/home/bob");
    EXPECT_EQ(normalFolder("/..", '/'), "/");
}

TEST(FolderPath, WithinAndBelow) {
    EXPECT_TRUE(folderIsWithin("C:\\WINDOWS", "C:\\", '\\'));
    EXPECT_TRUE(folderIsWithin("c:\\windows", "C:\\", '\\'));
    EXPECT_FALSE(folderIsWithin("D:\\WINDOWS", "C:\\", '\\'));
    EXPECT_TRUE(folderIsWithin("/media/usb/x", "/media/usb", '/'));
    EXPECT_TRUE(folderIsWithin("/media/usb", "/media/usb", '/'));
    EXPECT_FALSE(folderIsWithin("/media/usb2", "/media/usb", '/'));
    EXPECT_FALSE(folderIsWithin("/Media/usb", "/media/usb", '/'));
    EXPECT_EQ(foldersBelow("C:\\A\\B", "C:\\", '\\'), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(foldersBelow("/media/usb/x", "/media/usb", '/'), std::vector<std::string>{"x"});
    EXPECT_TRUE(foldersBelow("/media/usb", "/media/usb", '/').empty());
    EXPECT_EQ(joinFolder("C:\\", "A", '\\'), "C:\\A");
    EXPECT_EQ(joinFolder("C:\\A", "B", '\\'), "C:\\A\\B");
}

// A Windows machine's folders: C: and D: can be read, E: is a drive without a medium.
class FakeDrives : public platform::FileSystem {
  public:
    char separator() const override { return '\\'; }
    std::vector<std::string> drives() const override { return {"C:\\", "D:\\", "E:\\"}; }
    Result<std::vector<FolderEntry>> listFolder(const std::string& folder) const override {
        auto found = folders.find(folder);
        if (found == folders.end()) return makeError("cannot read folder " + folder);
        return found->second;
    }
    Result<std::unique_ptr<imaging::ByteSource>> openFile(const std::string&) const override {
        return makeError("no files");
    }
    Result<platform::FileStamp> stamp(const std::string&) const override {
        return makeError("no files");
    }
    bool removeFile(const std::string&) override { return false; }

    std::map<std::string, std::vector<FolderEntry>> folders = {
        {"C:\\", {{"WINDOWS", true}, {"Photos", true}, {"autoexec.bat", false}}},
        {"C:\\WINDOWS", {{"SYSTEM", true}, {"clouds.bmp", false}, {"setup.txt", false}}},
        {"C:\\WINDOWS\\SYSTEM", {}},
        {"C:\\Photos",
         {{"beach.JPG", false}, {"Alps.png", false}, {"Thumbs", true}, {"notes.doc", false}}},
        {"C:\\Photos\\Thumbs", {{"t1.bmp", false}}},
        {"D:\\", {{"PICS", true}, {"cover.pcx", false}}},
        {"D:\\PICS", {{"x.tif", false}}},
    };
};

class NoEvents : public platform::FormHandler {
    void onEvent(platform::Form&, platform::Event&) override {}
};

class FolderListsTest : public testing::Test {
  protected:
    FolderListsTest() {
        platform::FormSpec design;
        design.name = "Lists";
        for (auto [name, kind] :
             {std::pair{"Drive1", ControlKind::DriveList}, std::pair{"Dir1", ControlKind::DirList},
              std::pair{"File1", ControlKind::FileList}}) {
            platform::ControlSpec control;
            control.name = name;
            control.kind = kind;
            design.controls.push_back(control);
        }
        form = host.forms().create(design, handler, nullptr);
    }
    FolderLists make(const std::string& start = "C:\\WINDOWS") {
        FolderLists lists(drives, form->control("Drive1"), form->control("Dir1"),
                          form->control("File1"), start);
        lists.setPatterns(files::kPicturePatterns);
        return lists;
    }
    platform::Control& drive() { return form->control("Drive1"); }
    platform::Control& dir() { return form->control("Dir1"); }
    platform::Control& file() { return form->control("File1"); }
    void choose(platform::Control& list, int row, FolderLists& lists) {
        list.setSelectedIndex(row);
        if (&list == &drive()) lists.driveChosen();
        if (&list == &dir()) lists.folderChosen();
    }

    platform::headless::HeadlessHost host;
    FakeDrives drives;
    NoEvents handler;
    std::unique_ptr<platform::Form> form;
};

using Rows = std::vector<std::string>;

TEST_F(FolderListsTest, StartsInTheStartFolder) {
    FolderLists lists = make();
    EXPECT_EQ(drive().items(), (Rows{"C:\\", "D:\\", "E:\\"}));
    EXPECT_EQ(drive().selectedIndex(), 0);
    EXPECT_EQ(dir().items(), (Rows{"C:\\", "WINDOWS", "SYSTEM"}));
    EXPECT_EQ(dir().selectedIndex(), 1);
    // A tree: the root, the current folder one step in, its sub-folder two.
    EXPECT_EQ(dir().indents(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(file().items(), Rows{"clouds.bmp"});
    EXPECT_EQ(lists.dirPath(), "C:\\WINDOWS");
    EXPECT_EQ(lists.filePath(), "C:\\WINDOWS");
}

TEST_F(FolderListsTest, UnreadableStartFallsBackToItsDrivesRoot) {
    FolderLists lists = make("C:\\Missing");
    EXPECT_EQ(lists.dirPath(), "C:\\");
    EXPECT_EQ(dir().items(), (Rows{"C:\\", "Photos", "WINDOWS"}));
    EXPECT_EQ(dir().indents(), (std::vector<int>{0, 1, 1}));
    EXPECT_EQ(dir().selectedIndex(), 0);
    EXPECT_TRUE(file().items().empty());  // autoexec.bat is no picture
}

TEST_F(FolderListsTest, FileListKeepsPlainPictureFilesInNameOrder) {
    FolderLists lists = make("C:\\Photos");
    EXPECT_EQ(file().items(), (Rows{"Alps.png", "beach.JPG"}));
    EXPECT_EQ(lists.fileCount(), 2u);
    lists.setPatterns("*.*");
    EXPECT_EQ(file().items(), (Rows{"Alps.png", "beach.JPG", "notes.doc"}));
}

TEST_F(FolderListsTest, ChoosingFoldersGoesDownAndUp) {
    FolderLists lists = make("C:\\");
    choose(dir(), 1, lists);  // Photos
    EXPECT_EQ(lists.dirPath(), "C:\\Photos");
    EXPECT_EQ(dir().items(), (Rows{"C:\\", "Photos", "Thumbs"}));
    choose(dir(), 2, lists);  // Thumbs
    EXPECT_EQ(lists.filePath(), "C:\\Photos\\Thumbs");
    EXPECT_EQ(dir().items(), (Rows{"C:\\", "Photos", "Thumbs"}));
    EXPECT_EQ(dir().indents(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(dir().selectedIndex(), 2);
    EXPECT_EQ(file().items(), Rows{"t1.bmp"});
    choose(dir(), 0, lists);  // the root
    EXPECT_EQ(lists.dirPath(), "C:\\");
    EXPECT_EQ(dir().selectedIndex(), 0);
    EXPECT_TRUE(file().items().empty());
}

TEST_F(FolderListsTest, FolderThatCannotBeReadKeepsThePreviousSelection) {
    FolderLists lists = make("C:\\");
    drives.folders.erase("C:\\Photos");
    choose(dir(), 1, lists);
    EXPECT_EQ(lists.dirPath(), "C:\\");
    EXPECT_EQ(dir().selectedIndex(), 0);
    EXPECT_EQ(dir().items(), (Rows{"C:\\", "Photos", "WINDOWS"}));
}

TEST_F(FolderListsTest, ChoosingADriveShowsItsCurrentFolder) {
    FolderLists lists = make();
    choose(drive(), 1, lists);
    EXPECT_EQ(lists.dirPath(), "D:\\");
    EXPECT_EQ(file().items(), Rows{"cover.pcx"});
    choose(dir(), 1, lists);  // PICS
    choose(drive(), 0, lists);
    // Each drive remembers where it was.
    EXPECT_EQ(lists.dirPath(), "C:\\WINDOWS");
    choose(drive(), 1, lists);
    EXPECT_EQ(lists.dirPath(), "D:\\PICS");
    EXPECT_EQ(file().items(), Rows{"x.tif"});
}

TEST_F(FolderListsTest, DriveThatCannotBeReadKeepsThePreviousSelection) {
    FolderLists lists = make();
    choose(drive(), 2, lists);  // E: has no medium
    EXPECT_EQ(drive().selectedIndex(), 0);
    EXPECT_EQ(lists.dirPath(), "C:\\WINDOWS");
    EXPECT_EQ(file().items(), Rows{"clouds.bmp"});
}

TEST_F(FolderListsTest, AssignmentsFailWithoutChangingAnything) {
    FolderLists lists = make();
    EXPECT_FALSE(lists.setDrive("E:\\PICS\\").ok());
    EXPECT_FALSE(lists.setDrive("\\\\server\\share\\").ok());
    EXPECT_FALSE(lists.setDirPath("D:\\NOPE\\").ok());
    EXPECT_FALSE(lists.setFilePath("D:\\NOPE\\").ok());
    EXPECT_EQ(drive().selectedIndex(), 0);
    EXPECT_EQ(lists.dirPath(), "C:\\WINDOWS");
    EXPECT_EQ(lists.filePath(), "C:\\WINDOWS");
    EXPECT_EQ(file().items(), Rows{"clouds.bmp"});
}

TEST_F(FolderListsTest, SavedFolderOnAnotherDrive) {
    FolderLists lists = make();
    ASSERT_TRUE(lists.setDrive("d:\\pics\\").ok());
    EXPECT_EQ(drive().selectedIndex(), 1);
    ASSERT_TRUE(lists.setDirPath("D:\\PICS\\").ok());
    ASSERT_TRUE(lists.setFilePath("D:\\PICS\\").ok());
    EXPECT_EQ(dir().items(), (Rows{"D:\\", "PICS"}));
    EXPECT_EQ(lists.filePath(), "D:\\PICS");
    EXPECT_EQ(file().items(), Rows{"x.tif"});
}

}  // namespace
}  // namespace pictavo::config
