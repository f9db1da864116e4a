#pragma once
// Folder names as the drive, folder and file lists show and report them:
// no separator at the end except for a root ("C:\", "/").

#include <string>
#include <string_view>
#include <vector>

namespace pictavo::config {

// Collapses repeated separators, "." and "..", and drops a final separator
// unless the folder is a root. A Windows drive letter alone ("D:") names
// that drive's root.
std::string normalFolder(std::string_view path, char separator);

// folder + separator + name, without doubling a root's separator.
std::string joinFolder(const std::string& folder, const std::string& name, char separator);

// Whether folder is root or lies below it (both normal). Windows folders
// (separator '\') compare without regard to case.
bool folderIsWithin(const std::string& folder, const std::string& root, char separator);

// The folder names from root down to folder, root itself not included.
std::vector<std::string> foldersBelow(const std::string& folder, const std::string& root,
                                      char separator);

}  // namespace pictavo::config
