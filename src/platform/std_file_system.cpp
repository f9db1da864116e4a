#include "platform/std_file_system.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace pictavo::platform {

namespace fs = std::filesystem;

namespace {
std::string reason(const std::error_code& error) {
    if (error == std::errc::no_such_file_or_directory) return "file not found";
    if (error == std::errc::permission_denied) return "permission denied";
    if (error == std::errc::not_a_directory) return "not a folder";
    return error.message();
}
}  // namespace

Result<std::vector<FolderEntry>> StdFileSystem::listFolder(const std::string& folder) const {
    std::error_code error;
    fs::directory_iterator it(fs::path(folder), fs::directory_options::none, error);
    if (error) return makeError("cannot read folder " + folder + ": " + reason(error));
    std::vector<FolderEntry> entries;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) return makeError("cannot read folder " + folder + ": " + reason(error));
        FolderEntry entry;
        entry.name = it->path().filename().string();
        // Symbolic links count as what they point to, as a user would expect.
        // The entry knows its own type from the folder read; only links cost
        // a look at their target, so a folder of 100,000 files lists quickly.
        std::error_code folderError, fileError;
        bool isFolder = it->is_directory(folderError);
        bool isRegular = !isFolder && it->is_regular_file(fileError);
        entry.isFolder = !folderError && isFolder;
        entry.system = !folderError && !fileError && !isFolder && !isRegular;
        entry.hidden = !entry.name.empty() && entry.name.front() == '.';
        entries.push_back(std::move(entry));
    }
    if (error) return makeError("cannot read folder " + folder + ": " + reason(error));
    return entries;
}

std::vector<std::string> StdFileSystem::drives() const {
    std::vector<std::string> roots{"/"};
    std::ifstream mounts("/proc/self/mounts");
    std::string device, mountPoint, type, rest;
    while (mounts >> device >> mountPoint >> type) {
        std::getline(mounts, rest);
        // Real file systems only: pseudo file systems hold no pictures.
        bool real = device.rfind("/dev/", 0) == 0 || type == "nfs" || type == "nfs4" ||
                    type == "cifs" || type == "fuse.sshfs";
        if (real && mountPoint != "/" && mountPoint.find("\\040") == std::string::npos)
            roots.push_back(mountPoint);
    }
    return roots;
}

Result<std::vector<uint8_t>> StdFileSystem::readFile(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::error_code error(errno, std::generic_category());
        return makeError("cannot open file: " + reason(error));
    }
    std::error_code sizeError;
    auto size = fs::file_size(path, sizeError);
    if (sizeError) return makeError("cannot open file: " + reason(sizeError));
    // No picture worth showing is this big; refuse before allocating.
    constexpr uintmax_t kLargestFile = uintmax_t{1} << 30;
    if (size > kLargestFile)
        return makeError("file too large: " + std::to_string(size >> 20) + " MB");
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (size > 0 &&
        !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
        return makeError("cannot read file: read error");
    return bytes;
}

Result<FileStamp> StdFileSystem::stamp(const std::string& path) const {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (error) return makeError("cannot open file: " + reason(error));
    const auto modified = fs::last_write_time(path, error);
    if (error) return makeError("cannot open file: " + reason(error));
    return FileStamp{static_cast<uint64_t>(size),
                     static_cast<int64_t>(modified.time_since_epoch().count())};
}

bool StdFileSystem::removeFile(const std::string& path) {
    std::error_code error;
    return fs::remove(path, error);
}

}  // namespace pictavo::platform
