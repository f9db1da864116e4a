#pragma once
// The drive, folder and file lists of the configuration dialog, kept in
// step the way the dialog relies on: choosing a drive shows that drive's
// current folder, and the file list always follows the folder list.
//
// The controls only show rows. The folder list's rows are the root, the
// folders down to the current one, then the current folder's sub-folders,
// drawn as a tree (each row one step further in than the folder above it,
// the sub-folders one step beyond the current folder); the current
// folder's row is the selected one. Moving the selection opens nothing:
// the folder list opens the selected row when the dialog says it was
// chosen (a double-click or Enter). The file list shows the plain files
// that match the patterns, in name order.
//
// Any folder that cannot be read leaves every list as it was.

#include <map>
#include <string>
#include <vector>

#include "common/result.h"
#include "platform/file_system.h"
#include "platform/forms.h"

namespace pictavo::config {

class FolderLists {
  public:
    // startFolder is shown first; when it cannot be read, the first drive's
    // root; when neither can, the lists start empty.
    FolderLists(const platform::FileSystem& files, platform::Control& driveList,
                platform::Control& dirList, platform::Control& fileList,
                const std::string& startFolder);

    // What the file list shows; the current listing is redone at once.
    void setPatterns(std::string patterns);

    // Assignments made by the dialog itself. Each fails, changing nothing,
    // when its folder cannot be read.
    // Drive1.Drive: the drive holding path; then the folder list shows that
    // drive's current folder and the file list follows.
    Result<void> setDrive(const std::string& path);
    // Dir1.Path; the file list follows.
    Result<void> setDirPath(const std::string& path);
    // File1.Path.
    Result<void> setFilePath(const std::string& path);

    // The user chose another row.
    void driveChosen();
    void folderChosen();

    // Folders as the lists report them: no final separator except for a root.
    const std::string& dirPath() const { return dirPath_; }
    const std::string& filePath() const { return filePath_; }
    size_t fileCount() const { return files_.size(); }
    const std::vector<std::string>& fileNames() const { return files_; }

  private:
    std::string normal(const std::string& path) const;
    // The drive whose root holds folder; the longest such root wins. -1: none.
    int driveHolding(const std::string& folder) const;
    // Where the folder list's rows start for folder.
    std::string rootFor(const std::string& folder) const;
    std::string currentFolderOf(int drive) const;
    Result<void> showDrive(int drive);
    void showFolderRows(const std::string& folder, const std::string& root,
                        const std::vector<std::string>& subfolders);

    const platform::FileSystem& fileSystem_;
    platform::Control& driveList_;
    platform::Control& dirList_;
    platform::Control& fileList_;
    char separator_;
    std::string patterns_ = "*.*";

    std::vector<std::string> drives_;
    int drive_ = -1;
    // The folder each drive showed last, as the system keeps a current folder per drive.
    std::map<std::string, std::string> driveFolders_;

    std::string dirPath_;
    std::string dirRoot_;
    std::vector<std::string> dirRows_;
    int dirRow_ = -1;  // the current folder's row
    size_t subfolderStart_ = 0;

    std::string filePath_;
    std::vector<std::string> files_;
};

}  // namespace pictavo::config
