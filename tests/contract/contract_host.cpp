#include "contract/contract_host.h"

namespace pictavo::testing {

Result<std::vector<platform::FolderEntry>> MemoryFolders::listFolder(
    const std::string& folder) const {
    auto found = folders_.find(folder);
    if (found == folders_.end()) return makeError("cannot read folder " + folder);
    return found->second;
}

Result<std::unique_ptr<imaging::ByteSource>> MemoryFolders::openFile(
    const std::string& path) const {
    return makeError("no content for " + path);
}

void MemoryFolders::add(const std::string& folder, const std::vector<std::string>& files) {
    std::vector<platform::FolderEntry>& entries = folders_[folder];
    for (const std::string& name : files) entries.push_back({name, false});
    if (folder == "/") return;
    size_t slash = folder.rfind('/');
    std::string above = slash == 0 ? "/" : folder.substr(0, slash);
    std::string name = folder.substr(slash + 1);
    add(above);
    std::vector<platform::FolderEntry>& siblings = folders_[above];
    for (const platform::FolderEntry& entry : siblings)
        if (entry.isFolder && entry.name == name) return;
    siblings.push_back({name, true});
}

}  // namespace pictavo::testing
