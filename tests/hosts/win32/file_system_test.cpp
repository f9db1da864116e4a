#include "hosts/win32/win32_file_system.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "files/file_list.h"
#include "hosts/win32/text_encoding.h"

namespace pictavo::platform::win32 {
namespace {

// A fresh folder in the temporary folder, removed with its content.
class ScratchFolder {
  public:
    ScratchFolder() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + L"pictavo-test-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() {
        for (const std::wstring& file : files_) {
            SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(file.c_str());
        }
        for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder)
            RemoveDirectoryW(folder->c_str());
        RemoveDirectoryW(path_.c_str());
    }
    std::string path() const { return toUtf8(path_); }
    void addFile(const std::wstring& name, const std::string& content,
                 DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
        std::wstring full = path_ + L"\\" + name;
        HANDLE file = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  attributes, nullptr);
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
        files_.push_back(full);
    }
    void addFolder(const std::wstring& name) {
        folders_.push_back(path_ + L"\\" + name);
        CreateDirectoryW(folders_.back().c_str(), nullptr);
    }
    // A symbolic link to a file of the folder (which may not be there);
    // false where the system makes none (Wine says it made one, and did not).
    bool addLink(const std::wstring& name, const std::wstring& target) {
        const std::wstring full = path_ + L"\\" + name;
        constexpr DWORD kUnprivileged = 0x2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
        if (!CreateSymbolicLinkW(full.c_str(), (path_ + L"\\" + target).c_str(), kUnprivileged))
            return false;
        files_.push_back(full);
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(full.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return false;
        FindClose(search);
        return true;
    }

  private:
    std::wstring path_;
    std::vector<std::wstring> files_;
    std::vector<std::wstring> folders_;
};

const FolderEntry* findEntry(const std::vector<FolderEntry>& entries, const std::string& name) {
    auto found = std::find_if(entries.begin(), entries.end(),
                              [&](const FolderEntry& e) { return e.name == name; });
    return found == entries.end() ? nullptr : &*found;
}

TEST(Win32FileSystem, ListsEntriesWithTheirKindAndAttributes) {
    ScratchFolder folder;
    folder.addFile(L"sunset.jpg", "x");
    folder.addFile(L"\u00E9t\u00E9.bmp", "y");  // été.bmp
    folder.addFile(L"thumbs.db", "z", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    folder.addFolder(L"holidays");
    Win32FileSystem files;

    auto listed = files.listFolder(folder.path());
    ASSERT_TRUE(listed.ok()) << listed.error().message;
    EXPECT_EQ(listed->size(), 4u);  // no "." or ".."
    const FolderEntry* accented = findEntry(*listed, "\xC3\xA9t\xC3\xA9.bmp");
    ASSERT_NE(accented, nullptr);
    EXPECT_FALSE(accented->isFolder);
    const FolderEntry* hidden = findEntry(*listed, "thumbs.db");
    ASSERT_NE(hidden, nullptr);
    EXPECT_TRUE(hidden->hidden);
    EXPECT_TRUE(hidden->system);
    const FolderEntry* sub = findEntry(*listed, "holidays");
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(sub->isFolder);

    // A trailing separator names the same folder.
    auto again = files.listFolder(folder.path() + "\\");
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again->size(), 4u);
}

// As on Linux, a link counts as what it points to, and one that points
// nowhere is no picture.
TEST(Win32FileSystem, LinksCountAsWhatTheyPointTo) {
    ScratchFolder folder;
    folder.addFile(L"b.png", "x");
    if (!folder.addLink(L"alias.png", L"b.png")) GTEST_SKIP() << "no symbolic links here";
    ASSERT_TRUE(folder.addLink(L"dangling.jpg", L"gone.jpg"));
    Win32FileSystem system;

    auto listed = system.listFolder(folder.path());
    ASSERT_TRUE(listed.ok()) << listed.error().message;
    const FolderEntry* dangling = findEntry(*listed, "dangling.jpg");
    ASSERT_NE(dangling, nullptr);
    EXPECT_FALSE(dangling->isFolder);
    EXPECT_TRUE(dangling->system);
    auto pictures = files::listFiles(system, folder.path(), files::kPicturePatterns);
    ASSERT_TRUE(pictures.ok());
    EXPECT_EQ(*pictures, (std::vector<std::string>{"alias.png", "b.png"}));
}

TEST(Win32FileSystem, AMissingFolderIsAnError) {
    Win32FileSystem files;
    auto listed = files.listFolder("C:\\no\\such\\pictavo\\folder");
    ASSERT_FALSE(listed.ok());
    EXPECT_NE(listed.error().message.find("C:\\no\\such\\pictavo\\folder"), std::string::npos);
}

TEST(Win32FileSystem, ReadsAndRemovesFiles) {
    ScratchFolder folder;
    std::string content("BM\0\x01\xff", 5);
    folder.addFile(L"~3402tmp.bmp", content);
    Win32FileSystem files;
    std::string path = folder.path() + "\\~3402tmp.bmp";

    auto opened = files.openFile(path);
    ASSERT_TRUE(opened.ok()) << opened.error().message;
    const imaging::ByteSource& file = **opened;
    ASSERT_EQ(file.size(), content.size());
    std::vector<uint8_t> read(content.size());
    ASSERT_TRUE(readExactly(file, 0, read));
    EXPECT_EQ(std::string(read.begin(), read.end()), content);
    std::vector<uint8_t> tail(10);
    auto got = file.read(3, tail);
    ASSERT_TRUE(got);
    EXPECT_EQ(*got, 2u);  // only what is there
    EXPECT_EQ(tail[1], 0xFF);
    opened.value().reset();

    EXPECT_TRUE(files.removeFile(path));
    EXPECT_FALSE(files.removeFile(path));
    EXPECT_FALSE(files.openFile(path).ok());
}

TEST(Win32FileSystem, WhatIsNotAFileIsRefusedWithoutReadingIt) {
    ScratchFolder folder;
    Win32FileSystem files;
    // A named pipe with no one writing to it, a device by its name, a folder.
    HANDLE pipe = CreateNamedPipeW(L"\\\\.\\pipe\\pictavo-test-pipe", PIPE_ACCESS_OUTBOUND,
                                   PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 0, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    for (const std::string& path :
         {std::string("\\\\.\\pipe\\pictavo-test-pipe"), std::string("NUL"), folder.path()}) {
        auto opened = files.openFile(path);
        ASSERT_FALSE(opened.ok()) << path;
        EXPECT_EQ(opened.error().message, "not a regular file") << path;
    }
    CloseHandle(pipe);
}

TEST(Win32FileSystem, FilesBiggerThanAnyPictureAreRefused) {
    ScratchFolder folder;
    folder.addFile(L"padded.bmp", "BM");
    const std::wstring path = toWide(folder.path() + "\\padded.bmp");
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = LONGLONG{1000} << 20;
    ASSERT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file));
    CloseHandle(file);
    Win32FileSystem files;
    auto opened = files.openFile(folder.path() + "\\padded.bmp");
    ASSERT_FALSE(opened.ok());
    EXPECT_EQ(opened.error().message, "file too large: 1000 MB");
}

TEST(Win32FileSystem, DrivesAreRootsWithTheirSeparator) {
    Win32FileSystem files;
    std::vector<std::string> drives = files.drives();
    ASSERT_FALSE(drives.empty());
    EXPECT_NE(std::find(drives.begin(), drives.end(), "C:\\"), drives.end());
    for (const std::string& drive : drives) EXPECT_EQ(drive.back(), '\\') << drive;
}

}  // namespace
}  // namespace pictavo::platform::win32
