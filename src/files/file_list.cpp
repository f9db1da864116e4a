#include "files/file_list.h"

#include <algorithm>

namespace pictavo::files {

namespace {
char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Iterative wildcard match with one backtrack point: linear in practice,
// never exponential on names full of stars.
bool wildcard(std::string_view name, std::string_view pattern) {
    size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
            ++n, ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

// Case-blind name order, the exact bytes breaking ties; compares in place,
// as sorting a large folder calls it millions of times.
bool nameLess(const std::string& a, const std::string& b) {
    size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        auto la = static_cast<unsigned char>(lower(a[i])),
             lb = static_cast<unsigned char>(lower(b[i]));
        if (la != lb) return la < lb;
    }
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}
}  // namespace

bool matchesPattern(std::string_view name, std::string_view pattern) {
    return wildcard(name, pattern);
}

bool matchesPatternList(std::string_view name, std::string_view patterns) {
    while (!patterns.empty()) {
        size_t end = patterns.find(';');
        std::string_view one = patterns.substr(0, end);
        if (!one.empty() && matchesPattern(name, one)) return true;
        if (end == std::string_view::npos) break;
        patterns.remove_prefix(end + 1);
    }
    return false;
}

Result<std::vector<std::string>> listFiles(const platform::FileSystem& files,
                                           const std::string& folder, std::string_view patterns) {
    auto entries = files.listFolder(folder);
    if (!entries) return entries.error();
    std::vector<std::string> names;
    for (const auto& entry : *entries)
        if (!entry.isFolder && !entry.hidden && !entry.system &&
            matchesPatternList(entry.name, patterns))
            names.push_back(entry.name);
    std::sort(names.begin(), names.end(), nameLess);
    return names;
}

Result<std::vector<std::string>> listFolders(const platform::FileSystem& files,
                                             const std::string& folder) {
    auto entries = files.listFolder(folder);
    if (!entries) return entries.error();
    std::vector<std::string> names;
    for (const auto& entry : *entries)
        if (entry.isFolder && !entry.hidden && entry.name != "." && entry.name != "..")
            names.push_back(entry.name);
    std::sort(names.begin(), names.end(), nameLess);
    return names;
}

}  // namespace pictavo::files
