// Decodes pictures the way pictavo.scr loads a slide: the Win32 host's
// decoders and the core's own, decoded as a slide is, the file read
// through the host. Each picture is written as a binary PPM for the
// decoding-routes test to set beside the Linux build's decode of the file.
//
// Usage: pictavo_decode_probe [--stretch WxH | --centre WxH] OUTDIR FILE...
// (Windows paths). Writes OUTDIR\N.ppm for the N-th FILE (from 1) and
// prints one line per file: "N: W x H, C colours" or "N: error: MESSAGE".
// With --stretch or --centre each picture is decoded as a slide on a screen
// of that size asks (the picture scaled to it, or the window it shows), and
// the size printed is the whole picture's. Exits 1 when any file failed, 2
// on bad arguments.

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "hosts/win32/win32_host.h"
#include "imaging/picture_decoding.h"

namespace {

using namespace pictavo;

bool writePpm(const std::string& path, const imaging::Image& image) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << image.width << ' ' << image.height << "\n255\n";
    std::vector<char> row(static_cast<size_t>(image.width) * 3);
    for (int y = 0; y < image.height; ++y) {
        size_t at = 0;
        for (int x = 0; x < image.width; ++x) {
            imaging::Pixel p = image.at(x, y);
            row[at++] = static_cast<char>(imaging::red(p));
            row[at++] = static_cast<char>(imaging::green(p));
            row[at++] = static_cast<char>(imaging::blue(p));
        }
        out.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
    return static_cast<bool>(out);
}

// "--stretch 1920x1080" or "--centre 1920x1080" at args[0], or the whole picture.
imaging::Target targetOf(int& argc, char**& argv) {
    int width = 0;
    int height = 0;
    if (argc < 3 || std::sscanf(argv[2], "%dx%d", &width, &height) != 2) return {};
    const std::string option = argv[1];
    if (option != "--stretch" && option != "--centre") return {};
    argc -= 2;
    argv += 2;
    return option == "--stretch" ? imaging::Target::stretch(width, height)
                                 : imaging::Target::centre(width, height);
}

}  // namespace

int main(int argc, char** argv) {
    const imaging::Target target = targetOf(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: pictavo_decode_probe [--stretch|--centre WxH] OUTDIR FILE...\n");
        return 2;
    }
    const std::string outDir = argv[1];
    platform::win32::Win32Host host;
    const auto decoders =
        imaging::pictureDecoders(host.platformDecoders(), host.postScriptRenderer());

    int failures = 0;
    for (int n = 1; n < argc - 1; ++n) {
        const std::string path = argv[n + 1];
        auto file = host.files().openFile(path);
        if (!file) {
            std::printf("%d: error: %s\n", n, file.error().message.c_str());
            ++failures;
            continue;
        }
        auto decoded = imaging::decodePicture(
            {.decoders = *decoders, .fileName = path, .file = file->get(), .target = target});
        if (!decoded) {
            std::printf("%d: error: %s\n", n, decoded.error().message.c_str());
            ++failures;
            continue;
        }
        const std::string out = outDir + "\\" + std::to_string(n) + ".ppm";
        if (!writePpm(out, *decoded)) {
            std::printf("%d: error: cannot write %s\n", n, out.c_str());
            ++failures;
            continue;
        }
        std::printf("%d: %d x %d, %lld colours\n", n, decoded->pictureWidth(),
                    decoded->pictureHeight(),
                    static_cast<long long>(imaging::colourCount(*decoded)));
    }
    std::fflush(stdout);
    return failures == 0 ? 0 : 1;
}
