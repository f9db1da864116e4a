#pragma once
// Pictures made to hurt: files that once made a decoder run for hours or
// take gigabytes, and their kin, written at test time by code of our own.
// Each comes with what a sound decoder makes of it.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pictavo::hostile {

struct HostileFile {
    std::string name;  // the file's name, whose extension hints at its format
    std::string what;  // what it does to a careless decoder
    // Writes the file (or FIFO) at path.
    std::function<void(const std::filesystem::path& path)> write;
    // The picture's size when it must decode ("8192 x 8192"), or the error
    // it must give; neither: any clean outcome will do.
    std::optional<std::string> size;
    std::optional<std::string> error;
};

// Every hostile input, in a fixed order.
const std::vector<HostileFile>& hostileFiles();

}  // namespace pictavo::hostile
