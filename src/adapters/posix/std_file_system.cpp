#include "adapters/posix/std_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "imaging/limits.h"

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
        // Symbolic links count as what they point to, as a user would expect;
        // one that points nowhere is neither a folder nor a file. The entry
        // knows its own type from the folder read; only links cost a look
        // at their target, so a folder of 100,000 files lists quickly.
        std::error_code folderError, fileError;
        const bool isFolder = it->is_directory(folderError) && !folderError;
        const bool isRegular = !isFolder && it->is_regular_file(fileError) && !fileError;
        entry.isFolder = isFolder;
        entry.system = !isFolder && !isRegular;
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

namespace {

// An open file read with pread: each read says where, so one source serves
// any order of reads.
class DescriptorSource final : public imaging::ByteSource {
  public:
    DescriptorSource(int fd, uint64_t size) : fd_(fd), size_(size) {}
    ~DescriptorSource() override { ::close(fd_); }
    DescriptorSource(const DescriptorSource&) = delete;
    DescriptorSource& operator=(const DescriptorSource&) = delete;

    uint64_t size() const override { return size_; }
    Result<size_t> read(uint64_t offset, std::span<uint8_t> out) const override {
        if (offset >= size_) return size_t{0};
        const size_t wanted = static_cast<size_t>(std::min<uint64_t>(out.size(), size_ - offset));
        size_t done = 0;
        while (done < wanted) {
            const ssize_t got =
                ::pread(fd_, out.data() + done, wanted - done, static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) {
                return makeError("cannot read file: " +
                                 reason(std::error_code(errno, std::generic_category())));
            }
            if (got == 0) break;  // the file shrank since it was opened
            done += static_cast<size_t>(got);
        }
        return done;
    }

  private:
    int fd_;
    uint64_t size_;
};

}  // namespace

Result<std::unique_ptr<imaging::ByteSource>> StdFileSystem::openFile(
    const std::string& path) const {
    // O_NONBLOCK: a FIFO put where a picture was listed opens at once
    // instead of waiting for a writer; what it is shows on the descriptor.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return makeError("cannot open file: " +
                         reason(std::error_code(errno, std::generic_category())));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return makeError("not a regular file");
    }
    const auto size = static_cast<uint64_t>(info.st_size);
    if (size > imaging::kMaxFileBytes) {
        ::close(fd);
        return imaging::fileTooLarge(size);
    }
    return std::unique_ptr<imaging::ByteSource>(std::make_unique<DescriptorSource>(fd, size));
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
