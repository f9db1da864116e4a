#pragma once
// Folders and files as the picture lists and the decoders see them.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/result.h"
#include "imaging/byte_source.h"

namespace pictavo::platform {

// What tells a file's content apart from the one it had before, short of
// reading it: its size and its last change, in the file system's own units.
struct FileStamp {
    uint64_t size = 0;
    int64_t modified = 0;

    bool operator==(const FileStamp&) const = default;
};

struct FolderEntry {
    std::string name;  // name and extension, no folder
    bool isFolder = false;
    bool hidden = false;  // on Linux: the name starts with a dot
    bool system = false;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // The folder separator: '\\' on Windows, '/' elsewhere.
    virtual char separator() const = 0;
    // Every entry of one folder (not recursive, unsorted). An error when the
    // folder does not exist or cannot be read.
    virtual Result<std::vector<FolderEntry>> listFolder(const std::string& folder) const = 0;
    // The roots a drive list offers: "C:\\" on Windows, mount points on Linux.
    virtual std::vector<std::string> drives() const = 0;
    // A picture file, to be read a piece at a time. Opening never waits on
    // what is not a file: a FIFO, a device or a folder in its place gives "not
    // a regular file"; a file bigger than any picture "file too large: N MB".
    virtual Result<std::unique_ptr<imaging::ByteSource>> openFile(
        const std::string& path) const = 0;
    // The file's size and last change; an error when it is not there.
    virtual Result<FileStamp> stamp(const std::string& path) const = 0;
    virtual bool removeFile(const std::string& path) = 0;
};

}  // namespace pictavo::platform
