// Every hostile input decoded by pictavo-render in a child process under a
// memory limit: a clear error or a picture, never a crash or a hang, and
// nothing left in the temporary folder. In the optimised builds each must
// also finish within 2 s (2.5 s for a slide staged as the saver stages it;
// with a factor for a busy machine, below) and stay under 300 MB of
// resident memory; sanitizer and debug builds check only the outcome,
// since their time and memory say nothing about the product's.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "hostile_files.h"
#include "limited_run.h"
#include "temp_folder.h"

namespace pictavo::hostile {
namespace {

#ifndef PICTAVO_RUN_PREFIX
#define PICTAVO_RUN_PREFIX ""
#endif
#ifndef PICTAVO_HOSTILE_LIMITS
#define PICTAVO_HOSTILE_LIMITS 1
#endif

constexpr bool kCheckLimits = PICTAVO_HOSTILE_LIMITS != 0;
constexpr double kSeconds = 2.0;
constexpr double kStagedSeconds = 2.5;
constexpr uint64_t kPeakBytes = 300'000'000;
// The machines that run the tests are shared: processor time gets half as
// much again (the biggest pictures take about 1.3 s of it on an idle
// machine), and wall time, which waits for the machine too, three times.
constexpr double kCpuFactor = 1.5;
constexpr double kWallFactor = 3;

class HostileDecode : public ::testing::TestWithParam<size_t> {};

TEST_P(HostileDecode, GivesAClearErrorOrAPictureWithinItsLimits) {
    const HostileFile& file = hostileFiles()[GetParam()];
    TempFolder folder;
    const auto path = folder.path() / file.name;
    ASSERT_NO_THROW(file.write(path)) << file.name;
    // The child's own temporary folder, to see what it leaves there.
    const auto temporary = folder.path() / "tmp";
    std::filesystem::create_directory(temporary);

    const double seconds = file.staged ? kStagedSeconds : kSeconds;
    Limits limits;
    limits.wallSeconds = kCheckLimits ? seconds * kWallFactor * 2 : 300;
    // A safety net for the machine: the check below is on resident memory.
    limits.addressBytes = kCheckLimits ? uint64_t{1} << 30 : 0;
    std::vector<std::string> command =
        file.staged ? std::vector<std::string>{PICTAVO_RENDER, "slide",     path.string(),
                                               "--size",       "1920x1080", "--stretch"}
                    : std::vector<std::string>{PICTAVO_RENDER, "decode", path.string()};
    // The 32-bit build's pictavo-render runs through qemu-i386 where the kernel runs no 32-bit
    // code.
    if (!std::string_view(PICTAVO_RUN_PREFIX).empty())
        command.insert(command.begin(), PICTAVO_RUN_PREFIX);
    const RunResult run = runLimited(command, limits, {"TMPDIR=" + temporary.string()});
    ASSERT_TRUE(run.started);
    std::printf("%-28s %6.2f s processor, %6.2f s wall, %5.0f MB peak: %s\n", file.name.c_str(),
                run.cpuSeconds, run.wallSeconds, static_cast<double>(run.peakRssBytes) / 1e6,
                run.exitCode == 0 ? run.out.c_str() : run.err.c_str());

    EXPECT_FALSE(run.killed) << file.what;
    EXPECT_EQ(run.signal, 0) << file.what << "\n" << run.err;
    ASSERT_TRUE(run.exitCode == 0 || run.exitCode == 1) << file.what << "\n" << run.err;
    if (run.exitCode == 1) {
        // "pictavo-render decode: PATH: reason" (or slide)
        EXPECT_NE(run.err.find(path.string() + ": "), std::string::npos) << run.err;
    }
    if (file.size) {
        EXPECT_EQ(run.exitCode, 0) << file.what << "\n" << run.err;
        EXPECT_NE(run.out.find(": " + *file.size), std::string::npos) << run.out;
    }
    if (file.error) {
        EXPECT_EQ(run.exitCode, 1) << file.what << "\n" << run.out;
        EXPECT_NE(run.err.find(*file.error), std::string::npos) << run.err;
    }
    EXPECT_TRUE(std::filesystem::is_empty(temporary)) << file.what;
    if (kCheckLimits) {
        EXPECT_LE(run.cpuSeconds, seconds * kCpuFactor) << file.what;
        EXPECT_LE(run.wallSeconds, seconds * kWallFactor) << file.what;
        EXPECT_LT(run.peakRssBytes, kPeakBytes) << file.what;
    }
}

std::string caseName(const ::testing::TestParamInfo<size_t>& info) {
    std::string name;
    for (const char c : hostileFiles()[info.param].name)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Files, HostileDecode, ::testing::Range(size_t{0}, hostileFiles().size()),
                         caseName);

}  // namespace
}  // namespace pictavo::hostile
