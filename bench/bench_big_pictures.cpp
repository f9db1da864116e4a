// Staging the pictures people have today for a 1920 x 1080 screen, beside
// each format's reference tool decoding the whole picture, in one run.
//
//   bench_big_pictures [--render PATH] [--runs N] [--only NAME] [--folder DIR]
//
// Writes photo-like pictures (smooth light and colour with grain) of 48, 108
// and 200 megapixels as JPEG, PNG and LZW TIFF, a 30000 x 4000 JPEG panorama
// and a 7016 x 9920 LZW TIFF scan, each streamed into cjpeg, pnmtopng or
// pnmtotiff (nothing but the pictures lands on disk, in DIR or a temporary
// folder removed afterwards). Then, for each: the reference tool (djpeg,
// pngtopnm, tifftopnm) decoding it whole to /dev/null, and `pictavo-render
// slide` (the show's staging: read, decode for the screen, place) stretched
// and centred, each a process of its own: processor time (user + system,
// median of N runs, 3 by default) and peak resident memory. --render names
// another pictavo-render (an older build, to compare); --only keeps the
// pictures whose name contains NAME.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "photo_like.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Picture {
    std::string name;
    int width;
    int height;
    std::string encoder;  // reads a PPM on its standard input
    std::string reference;
};

const std::vector<Picture>& pictures() {
    static const std::vector<Picture> all = [] {
        const std::string jpeg = "cjpeg -quality 90";
        const std::string png = "pnmtopng";
        const std::string tiff = "pnmtotiff -lzw";
        std::vector<Picture> list;
        for (const auto& [mp, w, h] :
             {std::tuple{"48mp", 8064, 6048}, std::tuple{"108mp", 12000, 9000},
              std::tuple{"200mp", 16320, 12240}}) {
            list.push_back({std::string(mp) + ".jpg", w, h, jpeg, "djpeg"});
            list.push_back({std::string(mp) + ".png", w, h, png, "pngtopnm"});
            list.push_back({std::string(mp) + ".tif", w, h, tiff, "tifftopnm"});
        }
        list.push_back({"panorama.jpg", 30000, 4000, jpeg, "djpeg"});
        list.push_back({"a3-scan.tif", 7016, 9920, tiff, "tifftopnm"});
        return list;
    }();
    return all;
}

bool make(const Picture& picture, const fs::path& path) {
    if (fs::exists(path)) return true;
    return pictavo::bench::encodePhotoLike(
        picture.encoder + " > '" + path.string() + "' 2>/dev/null", picture.width, picture.height);
}

// The smallest n/8 at which the picture still covers 1920 x 1080.
int eighthsFor(const Picture& picture) {
    for (int n = 1; n < 8; ++n) {
        if ((picture.width * n + 7) / 8 >= 1920 && (picture.height * n + 7) / 8 >= 1080) return n;
    }
    return 8;
}

struct Sample {
    bool ok = false;
    double cpuMs = 0;
    double peakMb = 0;
    std::string error;
};

// Runs the command (argv) with its output to /dev/null and its errors to a
// file, and reports its processor time and peak resident size.
Sample runChild(const std::vector<std::string>& args, const fs::path& errors) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    Sample sample;
    pid_t pid = 0;
    const bool started = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (!started || wait4(pid, &status, 0, &usage) != pid) return sample;
    sample.cpuMs = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                   static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    sample.peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
    sample.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!sample.ok) {
        // "pictavo-render slide: PATH: reason": the reason.
        std::ifstream in(errors);
        std::getline(in, sample.error);
        const size_t at = sample.error.find(args.back() + ": ");
        if (at != std::string::npos)
            sample.error = sample.error.substr(at + args.back().size() + 2);
    }
    return sample;
}

Sample median(const std::vector<std::string>& args, const fs::path& errors, int runs) {
    std::vector<Sample> samples;
    for (int i = 0; i < runs; ++i) {
        samples.push_back(runChild(args, errors));
        if (!samples.back().ok) return samples.back();
    }
    std::sort(samples.begin(), samples.end(),
              [](const Sample& a, const Sample& b) { return a.cpuMs < b.cpuMs; });
    return samples[samples.size() / 2];
}

std::string cell(const Sample& s, const Sample* against = nullptr) {
    char text[64];
    if (!s.ok) {
        std::snprintf(text, sizeof text, "%s", s.error.substr(0, 40).c_str());
    } else if (against != nullptr && against->ok && against->cpuMs > 0) {
        std::snprintf(text, sizeof text, "%6.0f ms %4.0f MB %4.2fx", s.cpuMs, s.peakMb,
                      s.cpuMs / against->cpuMs);
    } else {
        std::snprintf(text, sizeof text, "%6.0f ms %4.0f MB", s.cpuMs, s.peakMb);
    }
    return text;
}

struct Options {
    std::string render;
    int runs = 3;
    std::string only;
    fs::path folder;
};

Options parse(int argc, char** argv) {
    Options options;
    options.render = (fs::read_symlink("/proc/self/exe").parent_path() / "pictavo-render").string();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        if (key == "--render") options.render = argv[i + 1];
        if (key == "--runs") options.runs = std::max(1, std::atoi(argv[i + 1]));
        if (key == "--only") options.only = argv[i + 1];
        if (key == "--folder") options.folder = argv[i + 1];
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    const bool temporary = options.folder.empty();
    const fs::path folder =
        temporary ? fs::temp_directory_path() / ("pictavo-big-" + std::to_string(getpid()))
                  : options.folder;
    fs::create_directories(folder);
    const fs::path errors = folder / "errors.txt";
    std::printf("%s on a 1920 x 1080 screen; processor time (median of %d) and peak memory\n",
                options.render.c_str(), options.runs);
    std::printf("%-13s %7s %-18s %-18s %-26s %-26s\n", "picture", "file MB", "tool, whole",
                "djpeg, shown scale", "stretched (x tool)", "centred (x tool)");
    for (const Picture& picture : pictures()) {
        if (picture.name.find(options.only) == std::string::npos) continue;
        const fs::path path = folder / picture.name;
        if (!make(picture, path)) {
            std::fprintf(stderr, "%s: %s failed (installed?)\n", picture.name.c_str(),
                         picture.encoder.c_str());
            continue;
        }
        const Sample tool = median({picture.reference, path.string()}, errors, options.runs);
        // djpeg at the DCT scale the show decodes at: the library's own floor.
        Sample scaled;
        if (picture.reference == "djpeg") {
            scaled = median(
                {"djpeg", "-scale", std::to_string(eighthsFor(picture)) + "/8", path.string()},
                errors, options.runs);
        }
        const std::vector<std::string> slide = {options.render, "slide", "--size", "1920x1080",
                                                path.string()};
        std::vector<std::string> stretched = slide;
        stretched.insert(stretched.begin() + 2, "--stretch");
        const Sample stretch = median(stretched, errors, options.runs);
        const Sample centre = median(slide, errors, options.runs);
        std::printf("%-13s %7.1f %-18s %-18s %-26s %-26s\n", picture.name.c_str(),
                    static_cast<double>(fs::file_size(path)) / 1048576.0, cell(tool).c_str(),
                    scaled.cpuMs > 0 ? cell(scaled).c_str() : "-", cell(stretch, &tool).c_str(),
                    cell(centre, &tool).c_str());
        std::fflush(stdout);
    }
    if (temporary) fs::remove_all(folder);
    return 0;
}
