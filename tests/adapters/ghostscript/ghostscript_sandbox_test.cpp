// Ghostscript's folders never stay behind: one still in use when the
// program ends goes with its Ghostscript, and one left by a program that
// could not clean up is swept by the next, and nothing but such folders.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "adapters/ghostscript/eps_ghostscript.h"
#include "adapters/ghostscript/ghostscript_sandbox.h"
#include "temp_folder.h"

namespace pictavo::platform {
namespace {

namespace fs = std::filesystem;

// The id of a process that has ended: it names no process now.
pid_t endedProcess() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

void put(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

// True once a thread of this process has started a child process.
bool startedAChild() {
    for (const auto& task : fs::directory_iterator("/proc/self/task")) {
        std::ifstream children(task.path() / "children");
        std::string pid;
        if (children >> pid) return true;
    }
    return false;
}

fs::path folderIn(const TempFolder& temporary, const std::string& name) {
    const fs::path path = temporary.path() / name;
    fs::create_directories(path);
    return path;
}

size_t sandboxesIn(const fs::path& folder) {
    size_t count = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        count += entry.path().filename().string().starts_with("pictavo-gs-") ? 1 : 0;
    return count;
}

TEST(GhostscriptSandboxes, StaleOnesOfOursAreSweptAndNothingElse) {
    TempFolder temporary;
    TempFolder elsewhere;
    const std::string gone = std::to_string(endedProcess());
    const fs::path orphan = folderIn(temporary, "pictavo-gs-" + gone + "-a1b2c3");
    put(orphan / "page.tmp", "left by a saver that was killed");
    const fs::path live = folderIn(temporary, "pictavo-gs-" + std::to_string(getpid()) + "-d4e5f6");
    const fs::path young = folderIn(temporary, "pictavo-gs-QwErTy");
    const fs::path old = folderIn(temporary, "pictavo-gs-AsDfGh");
    fs::last_write_time(old, fs::file_time_type::clock::now() - std::chrono::hours(2));
    const fs::path other = folderIn(temporary, "other-" + gone + "-a1b2c3");
    put(elsewhere.path() / "keep.txt", "the user's");
    fs::create_directory_symlink(elsewhere.path(),
                                 temporary.path() / ("pictavo-gs-" + gone + "-l"));

    sweepStaleSandboxes(temporary.path().string());

    EXPECT_FALSE(fs::exists(orphan)) << "its process is gone";
    EXPECT_FALSE(fs::exists(old)) << "older than any render";
    EXPECT_TRUE(fs::exists(live)) << "its process is running";
    EXPECT_TRUE(fs::exists(young)) << "it may be in use";
    EXPECT_TRUE(fs::exists(other));
    EXPECT_TRUE(fs::is_symlink(temporary.path() / ("pictavo-gs-" + gone + "-l")));
    EXPECT_TRUE(fs::exists(elsewhere.path() / "keep.txt"));
}

// The saver's main returns while its staging thread still renders (the
// show ended, and the thread was left behind): the program's end kills
// Ghostscript, waits for it and removes its folder.
TEST(GhostscriptSandboxes, ARenderStillRunningWhenTheProgramEndsGoesWithIt) {
    auto renderer = std::make_shared<GhostscriptRenderer>();
    if (!renderer->available()) GTEST_SKIP() << "no Ghostscript";
    TempFolder temporary;
    const pid_t program = fork();
    if (program == 0) {
        setenv("TMPDIR", temporary.path().c_str(), 1);
        std::thread([renderer] {
            const std::string forever = "%!PS\n{ } loop\n";
            imaging::WorkMeter work;
            (void)renderer->renderPostScript(
                {reinterpret_cast<const uint8_t*>(forever.data()), forever.size()}, 10, 10,
                imaging::BoundingBox{0, 0, 10, 10}, work);
        }).detach();
        for (int i = 0; i < 500 && !(sandboxesIn(temporary.path()) == 1 && startedAChild()); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::exit(startedAChild() ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(program, &status, 0), program);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "no render was seen";
    EXPECT_EQ(sandboxesIn(temporary.path()), 0u);
}

}  // namespace
}  // namespace pictavo::platform
