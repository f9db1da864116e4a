// SIGTERM or SIGINT while pictavo-render waits on Ghostscript: Ghostscript
// is ended and waited for, its folder removed, and the program then ends
// as the signal asks.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "hostile_files.h"
#include "limited_run.h"
#include "temp_folder.h"

namespace pictavo::hostile {
namespace {

namespace fs = std::filesystem;

// The first child process of pid, once it has one; 0 if none comes.
pid_t firstChildOf(pid_t pid) {
    for (int i = 0; i < 500; ++i) {
        std::error_code error;
        for (const auto& task :
             fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
            std::ifstream children(task.path() / "children");
            pid_t child = 0;
            if (children >> child) return child;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
}

bool alive(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with("State:")) return line.find('Z') == std::string::npos;
    return false;
}

// Whether pid still runs after a wide while: a Ghostscript that had just
// started when the signal came is ended by the kernel as its parent goes,
// a moment after the parent.
bool stillRunning(pid_t pid) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (alive(pid) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return alive(pid);
}

class SignalDuringRender : public ::testing::TestWithParam<int> {};

TEST_P(SignalDuringRender, EndsGhostscriptAndRemovesItsFolder) {
    if (system("command -v gs >/dev/null") != 0) GTEST_SKIP() << "no Ghostscript";
    TempFolder folder;
    const fs::path temporary = folder.path() / "tmp";
    fs::create_directory(temporary);
    writeFile(folder.path() / "loop.eps",
              "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 100\n{ } loop\n");
    const std::vector<std::string> arguments = {
        PICTAVO_RENDER, "slide", (folder.path() / "loop.eps").string(), "--size", "640x480"};
    const std::vector<std::string> variables = environmentWith({"TMPDIR=" + temporary.string()});
    std::vector<char*> argv, envp;
    for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    for (const auto& v : variables) envp.push_back(const_cast<char*>(v.c_str()));
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    pid_t render = 0;
    ASSERT_EQ(posix_spawn(&render, argv[0], nullptr, nullptr, argv.data(), envp.data()), 0);

    const pid_t ghostscript = firstChildOf(render);
    ASSERT_NE(ghostscript, 0) << "Ghostscript did not start";
    ASSERT_FALSE(fs::is_empty(temporary));
    kill(render, GetParam());
    int status = 0;
    ASSERT_EQ(waitpid(render, &status, 0), render);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == GetParam()) << status;
    EXPECT_FALSE(stillRunning(ghostscript));
    EXPECT_TRUE(fs::is_empty(temporary)) << fs::directory_iterator(temporary)->path();
}

std::string signalName(const ::testing::TestParamInfo<int>& signal) {
    return signal.param == SIGTERM ? "Term" : "Interrupt";
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalDuringRender, ::testing::Values(SIGTERM, SIGINT),
                         signalName);

}  // namespace
}  // namespace pictavo::hostile
