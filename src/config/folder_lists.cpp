#include "config/folder_lists.h"

#include "config/folder_path.h"
#include "files/file_list.h"

namespace pictavo::config {

FolderLists::FolderLists(const platform::FileSystem& files, platform::Control& driveList,
                         platform::Control& dirList, platform::Control& fileList,
                         const std::string& startFolder)
    : fileSystem_(files),
      driveList_(driveList),
      dirList_(dirList),
      fileList_(fileList),
      separator_(files.separator()) {
    for (const std::string& root : files.drives()) drives_.push_back(normal(root));
    driveList_.setItems(files.drives());
    driveList_.setSelectedIndex(-1);
    dirList_.setItems({});
    fileList_.setItems({});

    if (drives_.empty()) return;
    std::string start = normal(startFolder);
    int holder = driveHolding(start);
    if (holder >= 0) driveFolders_[drives_[static_cast<size_t>(holder)]] = start;
    if ((holder < 0 || !showDrive(holder)) && holder != 0) static_cast<void>(showDrive(0));
}

std::string FolderLists::normal(const std::string& path) const {
    return normalFolder(path, separator_);
}

int FolderLists::driveHolding(const std::string& folder) const {
    int best = -1;
    for (size_t i = 0; i < drives_.size(); ++i)
        if (folderIsWithin(folder, drives_[i], separator_) &&
            (best < 0 || drives_[i].size() > drives_[static_cast<size_t>(best)].size()))
            best = static_cast<int>(i);
    return best;
}

std::string FolderLists::rootFor(const std::string& folder) const {
    // Stay under the chosen drive while the folder is on it, so that moving
    // into a folder that is another drive's mount point keeps the way back up.
    if (drive_ >= 0 && folderIsWithin(folder, drives_[static_cast<size_t>(drive_)], separator_))
        return drives_[static_cast<size_t>(drive_)];
    int holder = driveHolding(folder);
    return holder >= 0 ? drives_[static_cast<size_t>(holder)] : std::string();
}

std::string FolderLists::currentFolderOf(int drive) const {
    const std::string& root = drives_[static_cast<size_t>(drive)];
    auto found = driveFolders_.find(root);
    return found != driveFolders_.end() ? found->second : root;
}

void FolderLists::setPatterns(std::string patterns) {
    patterns_ = std::move(patterns);
    if (!filePath_.empty()) static_cast<void>(setFilePath(filePath_));
}

Result<void> FolderLists::showDrive(int drive) {
    // The drive's current folder may have gone away since; its root will do.
    std::string remembered = currentFolderOf(drive);
    int previous = drive_;
    drive_ = drive;
    Result<void> shown = setDirPath(remembered);
    if (!shown && remembered != drives_[static_cast<size_t>(drive)])
        shown = setDirPath(drives_[static_cast<size_t>(drive)]);
    if (!shown) drive_ = previous;
    driveList_.setSelectedIndex(drive_);
    return shown;
}

Result<void> FolderLists::setDrive(const std::string& path) {
    int drive = driveHolding(normal(path));
    if (drive < 0) return makeError("no drive holds " + path);
    if (drive == drive_) return {};
    return showDrive(drive);
}

Result<void> FolderLists::setDirPath(const std::string& path) {
    std::string folder = normal(path);
    std::string root = rootFor(folder);
    if (root.empty()) return makeError("no drive holds " + path);
    auto subfolders = files::listFolders(fileSystem_, folder);
    if (!subfolders) return subfolders.error();

    showFolderRows(folder, root, *subfolders);
    int holder = driveHolding(root);
    if (holder >= 0) driveFolders_[drives_[static_cast<size_t>(holder)]] = folder;
    // A folder that lists but whose files cannot be read leaves the old files.
    static_cast<void>(setFilePath(folder));
    return {};
}

void FolderLists::showFolderRows(const std::string& folder, const std::string& root,
                                 const std::vector<std::string>& subfolders) {
    dirPath_ = folder;
    dirRoot_ = root;
    dirRows_ = {root};
    for (std::string& name : foldersBelow(folder, root, separator_))
        dirRows_.push_back(std::move(name));
    dirRow_ = static_cast<int>(dirRows_.size()) - 1;
    subfolderStart_ = dirRows_.size();
    dirRows_.insert(dirRows_.end(), subfolders.begin(), subfolders.end());
    // A tree: each folder on the way down one step further in, the
    // sub-folders one step beyond the current folder.
    std::vector<int> indents(dirRows_.size(), dirRow_ + 1);
    for (int row = 0; row <= dirRow_; ++row) indents[static_cast<size_t>(row)] = row;
    dirList_.setItems(dirRows_, std::move(indents));
    dirList_.setSelectedIndex(dirRow_);
}

Result<void> FolderLists::setFilePath(const std::string& path) {
    std::string folder = normal(path);
    auto names = files::listFiles(fileSystem_, folder, patterns_);
    if (!names) return names.error();
    filePath_ = folder;
    files_ = std::move(*names);
    fileList_.setItems(files_);
    fileList_.setSelectedIndex(-1);
    return {};
}

void FolderLists::driveChosen() {
    int chosen = driveList_.selectedIndex();
    if (chosen < 0 || chosen >= static_cast<int>(drives_.size()) || chosen == drive_) {
        driveList_.setSelectedIndex(drive_);
        return;
    }
    static_cast<void>(showDrive(chosen));
}

void FolderLists::folderChosen() {
    int row = dirList_.selectedIndex();
    if (row < 0 || row >= static_cast<int>(dirRows_.size()) || row == dirRow_) {
        dirList_.setSelectedIndex(dirRow_);
        return;
    }
    std::string target;
    if (static_cast<size_t>(row) >= subfolderStart_) {
        target = joinFolder(dirPath_, dirRows_[static_cast<size_t>(row)], separator_);
    } else {
        target = dirRoot_;
        for (int i = 1; i <= row; ++i)
            target = joinFolder(target, dirRows_[static_cast<size_t>(i)], separator_);
    }
    if (!setDirPath(target)) dirList_.setSelectedIndex(dirRow_);
}

}  // namespace pictavo::config
