// make_hostile_files FOLDER [--seeds BYTES] [NAME...]: writes the hostile
// inputs (all, or those named) into FOLDER, to measure a decoder on them by
// hand:
//   /usr/bin/time -v pictavo-render decode FOLDER/pen-flood.wmf
// With --seeds, the fuzzers' seeds: of the files found on the staging path,
// each as a small file of its kind where it has one, cut to its first BYTES
// (what a fuzzer reads of a seed).

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <set>
#include <string>

#include "hostile_files.h"

namespace {

// Cuts a regular file to its first bytes; false for anything else.
bool keepFirst(const std::filesystem::path& path, uint64_t bytes) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    if (static_cast<uint64_t>(info.st_size) > bytes)
        return truncate(path.c_str(), static_cast<off_t>(bytes)) == 0;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_hostile_files FOLDER [--seeds BYTES] [NAME...]\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    int first = 2;
    uint64_t keep = 0;
    if (argc >= 4 && std::string(argv[2]) == "--seeds") {
        keep = std::strtoull(argv[3], nullptr, 10);
        first = 4;
    }
    const std::set<std::string> wanted(argv + first, argv + argc);
    std::filesystem::create_directories(folder);
    for (const auto& file : pictavo::hostile::hostileFiles()) {
        if (!wanted.empty() && wanted.count(file.name) == 0) continue;
        if (keep > 0 && !file.staged) continue;
        const auto path = folder / file.name;
        try {
            std::filesystem::remove(path);
            (keep > 0 && file.seed ? file.seed : file.write)(path);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s: %s\n", file.name.c_str(), error.what());
            return 1;
        }
        if (keep > 0 && !keepFirst(path, keep)) {
            std::filesystem::remove(path);
            continue;
        }
        std::printf("%-28s %s\n", file.name.c_str(), file.what.c_str());
    }
    return 0;
}
