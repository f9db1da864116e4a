#pragma once
// The committed file of golden hashes: one line per entry, "KEY  VALUE",
// sorted by key; VALUE is a pixel hash or "failed" (the decoder refused the
// picture). Each kind of entry (transition frames, pictures written by
// tools, sample pictures) owns the keys under its prefix.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace pictavo::golden {

using Entries = std::map<std::string, std::string>;  // key -> value

inline constexpr const char* kFailed = "failed";

// Entries of the file that this machine cannot compute: every key starting
// with keyPrefix, for the reason given (a program or a sample is missing).
struct Skip {
    std::string keyPrefix;
    std::string reason;
};

// What one kind computed here.
struct Computed {
    Entries entries;
    std::vector<Skip> skipped;
    // Computed keys under this prefix that the file lacks are reported, not
    // failed: they stand for pictures beside the checkout that another
    // machine may have more of. Empty: every computed key must be listed.
    std::string unlistedAllowedPrefix;
};

struct Verdict {
    // Lines as a diff of the file would show them: "-KEY  VALUE" for what the
    // file says, "+KEY  VALUE" for what was computed. Empty when all agree.
    std::vector<std::string> diff;
    std::vector<std::string> notChecked;  // "KEY (reason)"
    std::vector<std::string> unlisted;    // "KEY  VALUE", allowed to be missing
    int matched = 0;
};

// An absent file reads as no entries; lines starting with '#' are comments.
Entries readGoldenFile(const std::filesystem::path& file);
// Writes the header comment lines (each prefixed with "# ") and the entries.
bool writeGoldenFile(const std::filesystem::path& file, const std::vector<std::string>& header,
                     const Entries& entries);

// Compares the file's entries under kindPrefix with what was computed.
Verdict compare(const Entries& file, const std::string& kindPrefix, const Computed& computed);

// The file's entries with those under kindPrefix replaced by the computed
// ones; entries this machine skipped are kept as they were.
Entries updated(const Entries& file, const std::string& kindPrefix, const Computed& computed);

// The verdict as text for a test's failure message or log.
std::string describe(const std::string& kindPrefix, const Verdict& verdict);

}  // namespace pictavo::golden
