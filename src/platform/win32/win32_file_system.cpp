#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include "platform/win32/system_error.h"
#include "platform/win32/text_encoding.h"

namespace pictavo::platform::win32 {

namespace {
class HandleCloser {
  public:
    explicit HandleCloser(HANDLE handle) : handle_(handle) {}
    ~HandleCloser() { CloseHandle(handle_); }
    HandleCloser(const HandleCloser&) = delete;
    HandleCloser& operator=(const HandleCloser&) = delete;

  private:
    HANDLE handle_;
};

std::string lastErrorText() {
    return systemErrorText(GetLastError());
}

bool isDotEntry(const wchar_t* name) {
    return (name[0] == L'.' && name[1] == L'\0') ||
           (name[0] == L'.' && name[1] == L'.' && name[2] == L'\0');
}

FolderEntry toEntry(const WIN32_FIND_DATAW& found) {
    FolderEntry entry;
    entry.name = toUtf8(found.cFileName);
    entry.isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.hidden = (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
    entry.system = (found.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0;
    return entry;
}
}  // namespace

Result<std::vector<FolderEntry>> Win32FileSystem::listFolder(const std::string& folder) const {
    std::string pattern = folder;
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
    pattern += '*';

    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(toWide(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        // An empty drive root has not even "." to find.
        if (GetLastError() == ERROR_FILE_NOT_FOUND) return std::vector<FolderEntry>{};
        return makeError("cannot read the folder " + folder + ": " + lastErrorText());
    }
    std::vector<FolderEntry> entries;
    do {
        if (!isDotEntry(found.cFileName)) entries.push_back(toEntry(found));
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

Result<std::vector<uint8_t>> Win32FileSystem::readFile(const std::string& path) const {
    HANDLE file = CreateFileW(toWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return makeError("cannot open " + path + ": " + lastErrorText());
    HandleCloser closer(file);
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size))
        return makeError("cannot read " + path + ": " + lastErrorText());
    if (size.QuadPart > 0x7FFFFFFF)
        return makeError("cannot read " + path + ": the file is too large");

    std::vector<uint8_t> content(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < content.size()) {
        DWORD got = 0;
        DWORD want = static_cast<DWORD>(content.size() - done);
        if (!ReadFile(file, content.data() + done, want, &got, nullptr))
            return makeError("cannot read " + path + ": " + lastErrorText());
        if (got == 0) break;  // the file shrank while we read it
        done += got;
    }
    content.resize(done);
    return content;
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
