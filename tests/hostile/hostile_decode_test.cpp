// Every hostile input decoded by pictavo-render in a child process under a
// memory limit: a clear error or a picture, never a crash or a hang. In the
// optimised builds each must also finish within 2 s (with a factor for a
// busy machine, below) and stay under 300 MB of resident memory; sanitizer
// and debug builds check only the outcome, since their time and memory say
// nothing about the product's.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>

#include "hostile_files.h"
#include "limited_run.h"
#include "temp_folder.h"

namespace pictavo::hostile {
namespace {

#ifndef PICTAVO_HOSTILE_LIMITS
#define PICTAVO_HOSTILE_LIMITS 1
#endif

constexpr bool kCheckLimits = PICTAVO_HOSTILE_LIMITS != 0;
constexpr double kSeconds = 2.0;
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

    Limits limits;
    limits.wallSeconds = kCheckLimits ? kSeconds * kWallFactor * 2 : 300;
    // A safety net for the machine: the check below is on resident memory.
    limits.addressBytes = kCheckLimits ? uint64_t{1} << 30 : 0;
    const RunResult run = runLimited({PICTAVO_RENDER, "decode", path.string()}, limits);
    ASSERT_TRUE(run.started);
    std::printf("%-28s %6.2f s processor, %6.2f s wall, %5.0f MB peak: %s\n", file.name.c_str(),
                run.cpuSeconds, run.wallSeconds, static_cast<double>(run.peakRssBytes) / 1e6,
                run.exitCode == 0 ? run.out.c_str() : run.err.c_str());

    EXPECT_FALSE(run.killed) << file.what;
    EXPECT_EQ(run.signal, 0) << file.what << "\n" << run.err;
    ASSERT_TRUE(run.exitCode == 0 || run.exitCode == 1) << file.what << "\n" << run.err;
    if (run.exitCode == 1) {
        // "pictavo-render decode: PATH: reason"
        EXPECT_NE(run.err.find(path.string() + ": "), std::string::npos) << run.err;
    }
    if (file.size) {
        EXPECT_EQ(run.exitCode, 0) << file.what << "\n" << run.err;
        EXPECT_NE(run.out.find(": " + *file.size + ","), std::string::npos) << run.out;
    }
    if (file.error) {
        EXPECT_EQ(run.exitCode, 1) << file.what << "\n" << run.out;
        EXPECT_NE(run.err.find(*file.error), std::string::npos) << run.err;
    }
    if (kCheckLimits) {
        EXPECT_LE(run.cpuSeconds, kSeconds * kCpuFactor) << file.what;
        EXPECT_LE(run.wallSeconds, kSeconds * kWallFactor) << file.what;
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
