#include "adapters/posix/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/text.h"

namespace pictavo::platform::posix {

namespace {
std::string trim(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos) return {};
    size_t end = text.find_last_not_of(" \t\r");
    return text.substr(begin, end - begin + 1);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

Error failure(const std::string& what, const std::string& path) {
    return makeError("cannot save settings to " + path + ": " + what + ": " + std::strerror(errno));
}

bool writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}
}  // namespace

std::string escapeValue(const std::string& value) {
    return escapeControlCharacters(value);
}

std::string unescapeValue(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char next = text[++i];
        if (next == 'n')
            out += '\n';
        else if (next == 'r')
            out += '\r';
        else if (next == 't')
            out += '\t';
        else if (next == 'x' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 &&
                 hexDigit(text[i + 2]) >= 0) {
            out += static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
            i += 2;
        } else
            out += next;
    }
    return out;
}

IniFile IniFile::parse(const std::string& text) {
    IniFile file;
    // Editors on Windows start UTF-8 files with a byte order mark; left in,
    // it would hide the first section's name.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    std::istringstream in(text.starts_with(kByteOrderMark) ? text.substr(kByteOrderMark.size())
                                                           : text);
    std::string line, section;
    while (std::getline(in, line)) {
        std::string trimmed = trim(line);
        if (trimmed.empty() || trimmed[0] == '#' || trimmed[0] == ';') continue;
        if (trimmed.front() == '[' && trimmed.back() == ']') {
            section = trimmed.substr(1, trimmed.size() - 2);
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::string key = trim(line.substr(0, equals));
        std::string value = line.substr(equals + 1);
        if (!value.empty() && value.back() == '\r') value.pop_back();
        if (!key.empty()) file.sections_[section][key] = unescapeValue(value);
    }
    return file;
}

Result<IniFile> IniFile::load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (errno == ENOENT) return IniFile{};
        return makeError("cannot read settings from " + path + ": " + std::strerror(errno));
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parse(text.str());
}

std::optional<std::string> IniFile::get(const std::string& section, const std::string& key) const {
    auto s = sections_.find(section);
    if (s == sections_.end()) return std::nullopt;
    auto k = s->second.find(key);
    if (k == s->second.end()) return std::nullopt;
    return k->second;
}

void IniFile::set(const std::string& section, const std::string& key, const std::string& value) {
    sections_[section][key] = value;
}

std::string IniFile::serialise() const {
    std::string out;
    // Keys before any section header (the section with no name) are written
    // there again: "[]" would read back as a section of its own.
    for (const auto& [section, keys] : sections_) {
        if (!out.empty()) out += '\n';
        if (!section.empty()) out += '[' + section + "]\n";
        for (const auto& [key, value] : keys) out += key + '=' + escapeValue(value) + '\n';
    }
    return out;
}

Result<void> IniFile::save(const std::string& path) const {
    namespace fs = std::filesystem;
    fs::path target(path);
    fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::error_code ignored;
    fs::create_directories(folder, ignored);

    std::string temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) return failure("cannot create a new file", path);
    ::fchmod(fd, S_IRUSR | S_IWUSR);
    bool written = writeAll(fd, serialise()) && ::fsync(fd) == 0;
    int savedErrno = errno;
    bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        ::unlink(temporary.c_str());
        errno = written ? errno : savedErrno;
        return failure("cannot write", path);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        savedErrno = errno;
        ::unlink(temporary.c_str());
        errno = savedErrno;
        return failure("cannot replace the old file", path);
    }
    // Make the rename itself durable.
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

}  // namespace pictavo::platform::posix
