#include "hosts/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "imaging/limits.h"

#include "hosts/win32/system_error.h"
#include "hosts/win32/text_encoding.h"

namespace pictavo::platform::win32 {

namespace {
std::string lastErrorText() {
    return systemErrorText(GetLastError());
}

bool isDotEntry(const wchar_t* name) {
    return (name[0] == L'.' && name[1] == L'\0') ||
           (name[0] == L'.' && name[1] == L'.' && name[2] == L'\0');
}

bool isLink(const WIN32_FIND_DATAW& found) {
    return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           (found.dwReserved0 == IO_REPARSE_TAG_SYMLINK ||
            found.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
}

// The attributes of what the link at path points to; nothing when it
// points nowhere. Opening follows the link (and, for offline files, never
// recalls them).
std::optional<DWORD> targetAttributes(const std::wstring& path) {
    HANDLE target = CreateFileW(
        path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_NO_RECALL, nullptr);
    if (target == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = GetFileInformationByHandle(target, &information) != 0;
    CloseHandle(target);
    if (!known) return std::nullopt;
    return information.dwFileAttributes;
}

// A link counts as what it points to, as on Linux: one that points nowhere
// is neither a folder nor a file.
FolderEntry toEntry(const WIN32_FIND_DATAW& found, const std::wstring& folder) {
    FolderEntry entry;
    entry.name = toUtf8(found.cFileName);
    DWORD attributes = found.dwFileAttributes;
    entry.hidden = (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
    if (isLink(found)) {
        const auto target = targetAttributes(folder + found.cFileName);
        attributes = target ? *target : FILE_ATTRIBUTE_SYSTEM;
    }
    entry.isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.system = ((found.dwFileAttributes | attributes) & FILE_ATTRIBUTE_SYSTEM) != 0;
    return entry;
}
}  // namespace

Result<std::vector<FolderEntry>> Win32FileSystem::listFolder(const std::string& folder) const {
    std::string prefix = folder;
    if (!prefix.empty() && prefix.back() != '\\' && prefix.back() != '/') prefix += '\\';
    const std::wstring widePrefix = toWide(prefix);
    const std::string pattern = prefix + '*';

    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(toWide(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        // An empty drive root has not even "." to find.
        if (GetLastError() == ERROR_FILE_NOT_FOUND) return std::vector<FolderEntry>{};
        return makeError("cannot read the folder " + folder + ": " + lastErrorText());
    }
    std::vector<FolderEntry> entries;
    do {
        if (!isDotEntry(found.cFileName)) entries.push_back(toEntry(found, widePrefix));
    } while (FindNextFileW(search, &found));
    DWORD stopped = GetLastError();
    FindClose(search);
    if (stopped != ERROR_NO_MORE_FILES)
        return makeError("cannot read the folder " + folder + ": " + systemErrorText(stopped));
    return entries;
}

std::vector<std::string> Win32FileSystem::drives() const {
    DWORD needed = GetLogicalDriveStringsW(0, nullptr);
    std::wstring buffer(needed + 1, L'\0');
    DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
    std::vector<std::string> roots;
    for (size_t start = 0; start < length;) {
        size_t end = buffer.find(L'\0', start);
        if (end == std::wstring::npos || end == start) break;
        roots.push_back(toUtf8(std::wstring_view(buffer).substr(start, end - start)));
        start = end + 1;
    }
    return roots;
}

namespace {

// An open file read at given offsets, so one source serves any order of reads.
class HandleSource final : public imaging::ByteSource {
  public:
    HandleSource(HANDLE file, uint64_t size) : file_(file), size_(size) {}
    ~HandleSource() override { CloseHandle(file_); }
    HandleSource(const HandleSource&) = delete;
    HandleSource& operator=(const HandleSource&) = delete;

    uint64_t size() const override { return size_; }
    Result<size_t> read(uint64_t offset, std::span<uint8_t> out) const override {
        if (offset >= size_) return size_t{0};
        const size_t wanted = static_cast<size_t>(std::min<uint64_t>(out.size(), size_ - offset));
        size_t done = 0;
        while (done < wanted) {
            OVERLAPPED at{};
            const uint64_t position = offset + done;
            at.Offset = static_cast<DWORD>(position & 0xFFFFFFFFu);
            at.OffsetHigh = static_cast<DWORD>(position >> 32);
            const DWORD want = static_cast<DWORD>(std::min<size_t>(wanted - done, 1u << 30));
            DWORD got = 0;
            if (!ReadFile(file_, out.data() + done, want, &got, &at)) {
                if (GetLastError() == ERROR_HANDLE_EOF) break;
                return makeError("cannot read file: " + lastErrorText());
            }
            if (got == 0) break;  // the file shrank since it was opened
            done += got;
        }
        return done;
    }

  private:
    HANDLE file_;
    uint64_t size_;
};

}  // namespace

Result<std::unique_ptr<imaging::ByteSource>> Win32FileSystem::openFile(
    const std::string& path) const {
    // Never recalled from offline storage, which could take minutes; a
    // folder fails to open without FILE_FLAG_BACKUP_SEMANTICS.
    const std::wstring wide = toWide(path);
    HANDLE file = CreateFileW(
        wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_NO_RECALL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(wide.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return makeError("not a regular file");
        return makeError("cannot open file: " + systemErrorText(error));
    }
    // A named pipe, a console or a serial port by a file's name: nothing
    // is read from it.
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return makeError("not a regular file");
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size)) {
        const std::string reason = lastErrorText();
        CloseHandle(file);
        return makeError("cannot read file: " + reason);
    }
    const auto bytes = static_cast<uint64_t>(size.QuadPart);
    if (bytes > imaging::kMaxFileBytes) {
        CloseHandle(file);
        return imaging::fileTooLarge(bytes);
    }
    return std::unique_ptr<imaging::ByteSource>(std::make_unique<HandleSource>(file, bytes));
}

Result<FileStamp> Win32FileSystem::stamp(const std::string& path) const {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(toWide(path).c_str(), GetFileExInfoStandard, &data))
        return makeError("cannot open " + path + ": " + lastErrorText());
    const uint64_t size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    const uint64_t modified =
        (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
    return FileStamp{size, static_cast<int64_t>(modified)};
}

bool Win32FileSystem::removeFile(const std::string& path) {
    return DeleteFileW(toWide(path).c_str()) != FALSE;
}

}  // namespace pictavo::platform::win32
