// Picture files opened the POSIX way: read in pieces at any offset, and
// never waited on when something else stands where a picture was listed.

#include "adapters/posix/std_file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/limits.h"
#include "temp_folder.h"

namespace pictavo::platform {
namespace {

TEST(StdFileSystem, ReadsAFileInPiecesAtAnyOffset) {
    TempFolder folder;
    std::string content;
    for (int i = 0; i < 100000; ++i) content += static_cast<char>(i * 7);
    folder.write("a.bmp", content);
    StdFileSystem files;
    auto opened = files.openFile((folder.path() / "a.bmp").string());
    ASSERT_TRUE(opened) << opened.error().message;
    const imaging::ByteSource& file = **opened;
    ASSERT_EQ(file.size(), content.size());
    std::vector<uint8_t> piece(10);
    ASSERT_TRUE(imaging::readExactly(file, 70000, piece));
    EXPECT_EQ(std::string(piece.begin(), piece.end()), content.substr(70000, 10));
    ASSERT_TRUE(imaging::readExactly(file, 5, piece));
    EXPECT_EQ(std::string(piece.begin(), piece.end()), content.substr(5, 10));
    // Past the end: what there is, then nothing, then "file is truncated".
    auto got = file.read(content.size() - 4, piece);
    ASSERT_TRUE(got);
    EXPECT_EQ(*got, 4u);
    EXPECT_EQ(*file.read(content.size() + 100, piece), 0u);
    EXPECT_EQ(imaging::readExactly(file, content.size() - 4, piece).error().message,
              "file is truncated");
}

TEST(StdFileSystem, WhatIsNotAFileIsRefusedWithoutWaiting) {
    TempFolder folder;
    const auto fifo = folder.path() / "swapped.bmp";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directory(folder.path() / "folder.bmp");
    StdFileSystem files;
    const auto started = std::chrono::steady_clock::now();
    // With no writer, a blocking open of the FIFO would never return.
    for (const std::string& path :
         {fifo.string(), (folder.path() / "folder.bmp").string(), std::string("/dev/null")}) {
        auto opened = files.openFile(path);
        ASSERT_FALSE(opened) << path;
        EXPECT_EQ(opened.error().message, "not a regular file") << path;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_EQ(files.openFile((folder.path() / "none.bmp").string()).error().message,
              "cannot open file: file not found");
}

TEST(StdFileSystem, FilesBiggerThanAnyPictureAreRefusedUnread) {
    TempFolder folder;
    const auto path = folder.path() / "padded.bmp";
    folder.write("padded.bmp", "BM");
    // Sparse: no disk is used for the gigabyte.
    ASSERT_EQ(truncate(path.c_str(), off_t{1000} << 20), 0);
    StdFileSystem files;
    auto opened = files.openFile(path.string());
    ASSERT_FALSE(opened);
    EXPECT_EQ(opened.error().message, "file too large: 1000 MB");
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(imaging::kMaxFileBytes)), 0);
    EXPECT_TRUE(files.openFile(path.string()));
}

}  // namespace
}  // namespace pictavo::platform
