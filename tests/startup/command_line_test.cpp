#include "startup/command_line.h"

#include <gtest/gtest.h>

namespace pictavo::startup {
namespace {

struct Case {
    const char* commandLine;
    Mode mode;
    int32_t handle;
};

class SwitchTable : public ::testing::TestWithParam<Case> {};

TEST_P(SwitchTable, OnlyTheFirstTwoCharactersCount) {
    CommandLine parsed = parseCommandLine(GetParam().commandLine);
    EXPECT_EQ(parsed.mode, GetParam().mode) << '"' << GetParam().commandLine << '"';
    EXPECT_EQ(parsed.windowHandle, GetParam().handle) << '"' << GetParam().commandLine << '"';
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, SwitchTable,
    ::testing::Values(Case{"/s", Mode::Show, 0}, Case{"/S", Mode::Show, 0},
                      Case{"/S 1234", Mode::Show, 0}, Case{"/saver", Mode::Show, 0},
                      Case{"-s", Mode::Configure, 0}, Case{"s", Mode::Configure, 0},
                      Case{"", Mode::Configure, 0}, Case{"/", Mode::Configure, 0},
                      Case{"/c", Mode::Configure, 0}, Case{"/c:1234", Mode::Configure, 0},
                      Case{"/x", Mode::Configure, 0}, Case{"/p 1234", Mode::Preview, 1234},
                      Case{"/P 1234", Mode::Preview, 1234}, Case{"/p1234", Mode::Preview, 1234},
                      Case{"/p", Mode::Preview, 0}, Case{"/p:1234", Mode::Preview, 0},
                      Case{"/p   77", Mode::Preview, 77}, Case{"/p 12ab", Mode::Preview, 12},
                      Case{"/p 99999999999", Mode::Preview, 0},
                      Case{"/a 5678", Mode::ChangePassword, 5678},
                      Case{"/a", Mode::ChangePassword, 0}, Case{" /s", Mode::Configure, 0}));

}  // namespace
}  // namespace pictavo::startup
