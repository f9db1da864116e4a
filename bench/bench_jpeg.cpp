// Staging a big JPEG for a full-HD screen, measured side by side with
// djpeg decoding the same file in full.
//
//   bench_jpeg [runs [photo.jpg]]
//
// Makes a 6000 x 4000 photo-like JPEG with cjpeg (or takes the one given).
// Staging is: read the file, decode it for the screen and place it on the
// screen-sized staging picture. Stretch decodes at a reduced scale and
// scales the rows to the screen as they come (our own filter);
// centre decodes only the visible window and copies it.
//
// Measured two ways, medians of the runs, wall and processor time:
//   - cold: each run a process of its own, like djpeg (start, read,
//     decode, exit); the kernel reports its peak resident size and the pages
//     it touched for the first time;
//   - in the running saver: one process staging slide after slide, the
//     staging picture kept, as the slide show does.

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "adapters/imagelibs/system_decoders.h"
#include "adapters/posix/std_file_system.h"
#include "imaging/picture_decoding.h"
#include "photo_like.h"

extern char** environ;

namespace {

using pictavo::imaging::Image;
using pictavo::imaging::Pixel;

constexpr int pictureWidth = 6000;
constexpr int pictureHeight = 4000;
constexpr int screenWidth = 1920;
constexpr int screenHeight = 1080;

std::filesystem::path makeJpeg(const std::filesystem::path& folder) {
    const auto jpeg = folder / "photo.jpg";
    const bool made = pictavo::bench::encodePhotoLike(
        "cjpeg -quality 90 -outfile '" + jpeg.string() + "'", pictureWidth, pictureHeight);
    return made ? jpeg : std::filesystem::path{};
}

struct Sample {
    double wallMs = 0;
    double cpuMs = 0;
    double decodeCpuMs = 0;  // in the running saver: the decode alone
    long peakKilobytes = 0;
    long firstTouches = 0;  // minor page faults
};

double cpuMs(const rusage& usage) {
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

bool runChild(const std::vector<std::string>& args, Sample& sample) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return false;
    sample.wallMs = millisecondsSince(start);
    sample.cpuMs = cpuMs(usage);
    sample.peakKilobytes = usage.ru_maxrss;
    sample.firstTouches = usage.ru_minflt;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A stretched picture covers the screen; a centred window goes where it lies.
void place(const Image& picture, Image& screen, bool centre) {
    const int x0 = centre ? picture.originX + (screenWidth - picture.pictureWidth()) / 2 : 0;
    const int y0 = centre ? picture.originY + (screenHeight - picture.pictureHeight()) / 2 : 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const int sx = x0 + x;
            const int sy = y0 + y;
            if (sx >= 0 && sy >= 0 && sx < screenWidth && sy < screenHeight) {
                screen.at(sx, sy) = picture.at(x, y);
            }
        }
    }
}

double processorMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return cpuMs(usage);
}

// One slide, as the saver stages it: the file read a piece at a time and
// decoded by the slide's decoders for the screen, then placed.
bool stage(bool centre, const std::string& path, Image& screen, bool tell,
           double* decodeMs = nullptr) {
    static const auto decoders =
        pictavo::imaging::pictureDecoders(pictavo::platform::systemDecoders());
    const pictavo::platform::StdFileSystem files;
    auto file = files.openFile(path);
    if (!file) return false;
    const auto target = centre ? pictavo::imaging::Target::centre(screenWidth, screenHeight)
                               : pictavo::imaging::Target::stretch(screenWidth, screenHeight);
    const double before = processorMs();
    auto loaded = pictavo::imaging::decodePicture(
        {.decoders = *decoders, .fileName = path, .file = file->get(), .target = target});
    if (decodeMs != nullptr) *decodeMs = processorMs() - before;
    if (!loaded) {
        std::fprintf(stderr, "%s\n", loaded.error().message.c_str());
        return false;
    }
    const Image decoded = std::move(loaded).value();
    place(decoded, screen, centre);
    if (tell) {
        std::printf("%s decodes %d x %d of %d x %d\n", centre ? "centre" : "stretch", decoded.width,
                    decoded.height, decoded.pictureWidth(), decoded.pictureHeight());
    }
    return true;
}

Sample median(std::vector<Sample> samples) {
    auto middle = [&](auto field) {
        std::vector<double> values;
        for (const Sample& s : samples) values.push_back(static_cast<double>(s.*field));
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    Sample m;
    m.wallMs = middle(&Sample::wallMs);
    m.cpuMs = middle(&Sample::cpuMs);
    m.decodeCpuMs = middle(&Sample::decodeCpuMs);
    m.peakKilobytes = static_cast<long>(middle(&Sample::peakKilobytes));
    m.firstTouches = static_cast<long>(middle(&Sample::firstTouches));
    return m;
}

Sample measureChild(const std::vector<std::string>& args, int runs) {
    std::vector<Sample> samples(static_cast<size_t>(runs));
    for (Sample& s : samples) {
        if (!runChild(args, s)) {
            std::fprintf(stderr, "failed: %s\n", args[0].c_str());
            std::exit(1);
        }
    }
    return median(samples);
}

Sample measureInProcess(bool centre, const std::string& path, int runs) {
    Image screen(screenWidth, screenHeight);
    // Two slides first: after them the allocator has the memory a slide needs.
    for (int i = 0; i < 2; ++i) stage(centre, path, screen, false);
    std::vector<Sample> samples(static_cast<size_t>(runs));
    for (Sample& s : samples) {
        rusage before{}, after{};
        getrusage(RUSAGE_SELF, &before);
        const auto start = std::chrono::steady_clock::now();
        if (!stage(centre, path, screen, false, &s.decodeCpuMs)) std::exit(1);
        s.wallMs = millisecondsSince(start);
        getrusage(RUSAGE_SELF, &after);
        s.cpuMs = cpuMs(after) - cpuMs(before);
        s.firstTouches = after.ru_minflt - before.ru_minflt;
    }
    return median(samples);
}

void report(const char* what, const Sample& s, bool ownProcess) {
    std::printf("%-32s %8.1f %8.1f", what, s.wallMs, s.cpuMs);
    if (ownProcess) {
        std::printf(" %10s %8.1f %9ld\n", "-", static_cast<double>(s.peakKilobytes) / 1024.0,
                    s.firstTouches);
    } else {
        std::printf(" %10.1f %8s %9ld\n", s.decodeCpuMs, "-", s.firstTouches);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::string(argv[1]) == "--stage") {
        Image screen(screenWidth, screenHeight);
        return stage(std::string(argv[2]) == "centre", argv[3], screen, argc > 4) ? 0 : 1;
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;

    const auto folder =
        std::filesystem::temp_directory_path() / ("pictavo-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path jpeg = argc > 2 ? std::filesystem::path(argv[2]) : makeJpeg(folder);
    if (jpeg.empty()) {
        std::fprintf(stderr, "cjpeg failed (libjpeg-turbo-progs installed?)\n");
        return 1;
    }
    const std::string file = jpeg.string();
    std::printf("%s, %.1f MB, for a %d x %d screen; medians of %d runs\n", file.c_str(),
                static_cast<double>(std::filesystem::file_size(jpeg)) / 1048576.0, screenWidth,
                screenHeight, runs);

    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::vector<std::string> djpegArgs = {"djpeg", "-outfile", "/dev/null", file};
    // Each once beforehand: the file comes into the page cache, the sizes are told.
    Sample ignored;
    runChild(djpegArgs, ignored);
    runChild({self, "--stage", "stretch", file, "--tell"}, ignored);
    runChild({self, "--stage", "centre", file, "--tell"}, ignored);

    const Sample djpeg = measureChild(djpegArgs, runs);
    const Sample stretchCold = measureChild({self, "--stage", "stretch", file}, runs);
    const Sample centreCold = measureChild({self, "--stage", "centre", file}, runs);
    const Sample stretchWarm = measureInProcess(false, file, runs);
    const Sample centreWarm = measureInProcess(true, file, runs);

    std::printf("%-32s %8s %8s %10s %8s %9s\n", "", "wall ms", "cpu ms", "decode cpu", "peak MB",
                "new pages");
    report("djpeg, full decode", djpeg, true);
    report("stretch, own process", stretchCold, true);
    report("centre, own process", centreCold, true);
    report("stretch, in the running saver", stretchWarm, false);
    report("centre, in the running saver", centreWarm, false);
    std::printf(
        "processor time against djpeg's: stretch %.2f / %.2f, centre %.2f / %.2f "
        "(own process / running saver; at most 1 meets the target)\n",
        stretchCold.cpuMs / djpeg.cpuMs, stretchWarm.cpuMs / djpeg.cpuMs,
        centreCold.cpuMs / djpeg.cpuMs, centreWarm.cpuMs / djpeg.cpuMs);
    std::filesystem::remove_all(folder);
    return 0;
}
