#include "golden/golden_file.h"

#include <fstream>
#include <sstream>

namespace pictavo::golden {

namespace {

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

const Skip* skipFor(const std::string& key, const Computed& computed) {
    for (const Skip& skip : computed.skipped)
        if (startsWith(key, skip.keyPrefix)) return &skip;
    return nullptr;
}

std::string line(char sign, const std::string& key, const std::string& value) {
    return std::string(1, sign) + key + "  " + value;
}

}  // namespace

Entries readGoldenFile(const std::filesystem::path& file) {
    Entries entries;
    std::ifstream in(file);
    std::string text;
    while (std::getline(in, text)) {
        if (text.empty() || text[0] == '#') continue;
        const size_t gap = text.find_last_of(' ');
        if (gap == std::string::npos) continue;
        const size_t keyEnd = text.find_last_not_of(' ', gap);
        if (keyEnd == std::string::npos) continue;
        entries[text.substr(0, keyEnd + 1)] = text.substr(gap + 1);
    }
    return entries;
}

bool writeGoldenFile(const std::filesystem::path& file, const std::vector<std::string>& header,
                     const Entries& entries) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (const std::string& comment : header) out << "# " << comment << "\n";
    for (const auto& [key, value] : entries) out << key << "  " << value << "\n";
    out.flush();
    return static_cast<bool>(out);
}

Verdict compare(const Entries& file, const std::string& kindPrefix, const Computed& computed) {
    Verdict verdict;
    auto fileAt = file.lower_bound(kindPrefix);
    auto computedAt = computed.entries.begin();
    const auto fileEnd = file.end();
    const auto computedEnd = computed.entries.end();
    auto inKind = [&](Entries::const_iterator at) {
        return at != fileEnd && startsWith(at->first, kindPrefix);
    };
    // Both sides are sorted: walk them together as a diff does.
    while (inKind(fileAt) || computedAt != computedEnd) {
        const bool takeFile =
            inKind(fileAt) && (computedAt == computedEnd || fileAt->first < computedAt->first);
        const bool takeComputed =
            computedAt != computedEnd && (!inKind(fileAt) || computedAt->first < fileAt->first);
        if (takeFile) {
            if (const Skip* skip = skipFor(fileAt->first, computed))
                verdict.notChecked.push_back(fileAt->first + " (" + skip->reason + ")");
            else
                verdict.diff.push_back(line('-', fileAt->first, fileAt->second));
            ++fileAt;
        } else if (takeComputed) {
            const bool allowed = !computed.unlistedAllowedPrefix.empty() &&
                                 startsWith(computedAt->first, computed.unlistedAllowedPrefix);
            if (allowed)
                verdict.unlisted.push_back(computedAt->first + "  " + computedAt->second);
            else
                verdict.diff.push_back(line('+', computedAt->first, computedAt->second));
            ++computedAt;
        } else {
            if (fileAt->second == computedAt->second) {
                ++verdict.matched;
            } else {
                verdict.diff.push_back(line('-', fileAt->first, fileAt->second));
                verdict.diff.push_back(line('+', computedAt->first, computedAt->second));
            }
            ++fileAt;
            ++computedAt;
        }
    }
    return verdict;
}

Entries updated(const Entries& file, const std::string& kindPrefix, const Computed& computed) {
    Entries result;
    for (const auto& [key, value] : file)
        if (!startsWith(key, kindPrefix) || skipFor(key, computed)) result[key] = value;
    for (const auto& [key, value] : computed.entries) result[key] = value;
    return result;
}

std::string describe(const std::string& kindPrefix, const Verdict& verdict) {
    std::ostringstream text;
    text << kindPrefix << ": " << verdict.matched << " entries agree";
    if (!verdict.diff.empty()) {
        text << "; the computed hashes differ from the golden file:\n"
             << "--- tests/golden/hashes.txt\n+++ computed\n";
        for (const std::string& l : verdict.diff) text << l << "\n";
        text << "(a deliberate change: regenerate the file, see tests/golden/README.md)";
    }
    if (!verdict.notChecked.empty()) {
        text << "\nnot checked on this machine (" << verdict.notChecked.size() << "):";
        for (const std::string& l : verdict.notChecked) text << "\n  " << l;
    }
    if (!verdict.unlisted.empty()) {
        text << "\nfound here but not in the golden file (" << verdict.unlisted.size() << "):";
        for (const std::string& l : verdict.unlisted) text << "\n  " << l;
    }
    return text.str();
}

}  // namespace pictavo::golden
