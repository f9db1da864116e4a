#pragma once
// Pictures made to hurt: files that once made a decoder run for hours or
// take gigabytes, and their kin, written at test time by code of our own.
// Each comes with what a sound decoder makes of it.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "hostile_bytes.h"

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
    // Placed on a 1920 x 1080 screen, stretched, as the saver stages a slide
    // (pictavo-render slide), rather than decoded whole (pictavo-render decode).
    bool staged = false;
    // Writes a small file of the same kind for the fuzzers' seeds, where a
    // decoder takes long over the file's own big picture; none: the file.
    std::function<void(const std::filesystem::path& path)> seed;
};

inline HostileFile file(std::string name, std::string what,
                        std::function<void(const std::filesystem::path&)> write) {
    HostileFile made;
    made.name = std::move(name);
    made.what = std::move(what);
    made.write = std::move(write);
    return made;
}

// A file written whole from what content makes.
inline HostileFile text(std::string name, std::string what, std::function<std::string()> content) {
    return file(std::move(name), std::move(what),
                [content = std::move(content)](const std::filesystem::path& path) {
                    writeFile(path, content());
                });
}

inline HostileFile picture(HostileFile made, std::string size) {
    made.size = std::move(size);
    return made;
}

inline HostileFile failing(HostileFile made, std::string error) {
    made.error = std::move(error);
    return made;
}

inline HostileFile staged(HostileFile made) {
    made.staged = true;
    return made;
}

inline HostileFile seededWith(HostileFile made, std::function<std::string()> content) {
    made.seed = [content = std::move(content)](const std::filesystem::path& path) {
        writeFile(path, content());
    };
    return made;
}

// The files found on the staging path, where each must give a picture or a
// one-line error within the time and memory of one slide: pictures
// (JPEG, PNG, TIFF, Utah RLE) and drawings (WMF, DXF, EPS).
std::vector<HostileFile> stagedPictureFiles();
std::vector<HostileFile> stagedDrawingFiles();

// Every hostile input, in a fixed order.
const std::vector<HostileFile>& hostileFiles();

}  // namespace pictavo::hostile
