#pragma once
// Folders and files through the wide-character calls, so any file name the
// system allows comes through as UTF-8.

#include "platform/file_system.h"

namespace pictavo::platform::win32 {

class Win32FileSystem : public FileSystem {
  public:
    char separator() const override { return '\\'; }
    Result<std::vector<FolderEntry>> listFolder(const std::string& folder) const override;
    std::vector<std::string> drives() const override;
    Result<std::unique_ptr<imaging::ByteSource>> openFile(const std::string& path) const override;
    Result<FileStamp> stamp(const std::string& path) const override;
    bool removeFile(const std::string& path) override;
};

}  // namespace pictavo::platform::win32
