#include "config/folder_path.h"

#include "common/text.h"

namespace pictavo::config {

namespace {
bool isDriveLetter(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

std::vector<std::string> split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(separator, start);
        if (end == std::string_view::npos) end = text.size();
        parts.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

bool samePrefix(std::string_view a, std::string_view b, char separator) {
    return separator == '\\' ? equalsIgnoreCaseAscii(a, b) : a == b;
}
}  // namespace

std::string normalFolder(std::string_view path, char separator) {
    std::string root;
    if (separator == '\\' && isDriveLetter(path)) {
        root = std::string(path.substr(0, 2)) + separator;
        path.remove_prefix(2);
    } else if (!path.empty() && path.front() == separator) {
        root = std::string(1, separator);
    }
    std::vector<std::string> kept;
    for (std::string& part : split(path, separator)) {
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!kept.empty()) kept.pop_back();
            continue;
        }
        kept.push_back(std::move(part));
    }
    std::string result = root;
    for (size_t i = 0; i < kept.size(); ++i) {
        if (i > 0) result += separator;
        result += kept[i];
    }
    return result;
}

std::string joinFolder(const std::string& folder, const std::string& name, char separator) {
    if (folder.empty()) return name;
    return folder.back() == separator ? folder + name : folder + separator + name;
}

bool folderIsWithin(const std::string& folder, const std::string& root, char separator) {
    if (root.empty() || folder.size() < root.size()) return false;
    if (!samePrefix(std::string_view(folder).substr(0, root.size()), root, separator)) return false;
    return folder.size() == root.size() || root.back() == separator ||
           folder[root.size()] == separator;
}

std::vector<std::string> foldersBelow(const std::string& folder, const std::string& root,
                                      char separator) {
    std::vector<std::string> names;
    if (!folderIsWithin(folder, root, separator)) return names;
    for (std::string& part : split(std::string_view(folder).substr(root.size()), separator))
        if (!part.empty()) names.push_back(std::move(part));
    return names;
}

}  // namespace pictavo::config
