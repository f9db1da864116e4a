#pragma once
// Folders through the standard library and files through POSIX: the Linux
// desktop and the headless host. A leading dot marks a hidden file, as on
// any Unix.

#include "platform/file_system.h"

namespace pictavo::platform {

class StdFileSystem : public FileSystem {
  public:
    char separator() const override { return '/'; }
    Result<std::vector<FolderEntry>> listFolder(const std::string& folder) const override;
    std::vector<std::string> drives() const override;
    Result<std::unique_ptr<imaging::ByteSource>> openFile(const std::string& path) const override;
    Result<FileStamp> stamp(const std::string& path) const override;
    bool removeFile(const std::string& path) override;
};

}  // namespace pictavo::platform
