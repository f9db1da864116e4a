// make_hostile_files FOLDER [NAME...]: writes the hostile inputs (all, or
// those named) into FOLDER, to measure a decoder on them by hand:
//   /usr/bin/time -v pictavo-render decode FOLDER/pen-flood.wmf

#include <cstdio>
#include <exception>
#include <filesystem>
#include <set>
#include <string>

#include "hostile_files.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_hostile_files FOLDER [NAME...]\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::set<std::string> wanted(argv + 2, argv + argc);
    std::filesystem::create_directories(folder);
    for (const auto& file : pictavo::hostile::hostileFiles()) {
        if (!wanted.empty() && wanted.count(file.name) == 0) continue;
        try {
            std::filesystem::remove(folder / file.name);
            file.write(folder / file.name);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s: %s\n", file.name.c_str(), error.what());
            return 1;
        }
        std::printf("%-28s %s\n", file.name.c_str(), file.what.c_str());
    }
    return 0;
}
