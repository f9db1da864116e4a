// pictavo-render decode FILE [--out OUT.png] [--no-ghostscript]: the decoded
// picture, upright, at its own size. --no-ghostscript decodes EPS as the
// Windows build does, from the file's preview, to compare the two builds.

#include <filesystem>
#include <iostream>
#include <utility>

#include "adapters/posix/std_file_system.h"
#include "app/render/arguments.h"
#include "app/render/commands.h"
#include "app/render/png_writer.h"
#include "imaging/picture_decoding.h"

namespace pictavo::render {

int runDecodeCommand(const std::vector<std::string>& args, const RenderServices& services) {
    auto parsed = readCommandArgs(
        args, {.positional = "FILE", .valueOptions = {"--out"}, .flags = {"--no-ghostscript"}});
    if (!parsed) return badArguments("decode", parsed.error().message);
    const std::string& path = parsed->positional[0];

    platform::StdFileSystem files;
    auto file = files.openFile(path);
    if (!file) {
        std::cerr << "pictavo-render decode: " << path << ": " << file.error().message << "\n";
        return 1;
    }
    auto postScript = parsed->has("--no-ghostscript") ? nullptr : services.postScript;
    const auto decoders = imaging::pictureDecoders(
        services.decoders ? services.decoders() : imaging::DecoderList{}, std::move(postScript));
    std::string name = std::filesystem::path(path).filename().string();
    auto decoded =
        imaging::decodePicture({.decoders = *decoders, .fileName = name, .file = file->get()});
    if (!decoded) {
        std::cerr << "pictavo-render decode: " << path << ": " << decoded.error().message << "\n";
        return 1;
    }
    std::cout << path << ": " << decoded->pictureWidth() << " x " << decoded->pictureHeight()
              << ", " << imaging::colourCount(*decoded) << " colours\n";
    if (auto out = parsed->values.find("--out"); out != parsed->values.end()) {
        if (auto written = writePng(out->second, *decoded); !written) {
            std::cerr << "pictavo-render decode: " << written.error().message << "\n";
            return 1;
        }
    }
    return 0;
}

}  // namespace pictavo::render
