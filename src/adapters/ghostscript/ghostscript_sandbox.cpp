#include "adapters/ghostscript/ghostscript_sandbox.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string_view>
#include <system_error>

#include "adapters/ghostscript/live_sandboxes.h"

namespace pictavo::platform {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = "pictavo-gs-";
constexpr auto kOldest = std::chrono::hours(1);

// The process a sandbox's name says it belongs to; 0 when it names none
// (the names of earlier versions: pictavo-gs-XXXXXX).
pid_t ownerOf(std::string_view name) {
    name.remove_prefix(kPrefix.size());
    const size_t dash = name.find('-');
    if (dash == std::string_view::npos || dash == 0) return 0;
    pid_t pid = 0;
    for (const char c : name.substr(0, dash)) {
        if (c < '0' || c > '9' || pid > 1'000'000'000) return 0;
        pid = pid * 10 + (c - '0');
    }
    return pid;
}

bool stale(const fs::path& path, pid_t owner) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid())
        return false;
    if (owner > 0 && owner != getpid() && kill(owner, 0) != 0 && errno == ESRCH) return true;
    const auto changed = std::chrono::system_clock::from_time_t(info.st_mtime);
    return std::chrono::system_clock::now() - changed > kOldest;
}

fs::path temporaryFolder() {
    std::error_code error;
    fs::path base = fs::temp_directory_path(error);
    return error ? fs::path("/tmp") : base;
}

void endSandboxesThenDie(int signal) {
    live_sandboxes::endAll();
    // The disposition went back to the default on entry (SA_RESETHAND): the
    // signal raised again ends the program once this handler returns.
    raise(signal);
}

}  // namespace

void sweepStaleSandboxes(const std::string& folder) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(kPrefix)) continue;
        if (!stale(it->path(), ownerOf(name))) continue;
        std::error_code ignored;
        fs::remove_all(it->path(), ignored);
    }
}

void cleanUpSandboxesOnTermination() {
    struct sigaction action {};
    action.sa_handler = endSandboxesThenDie;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

Result<GhostscriptSandbox> GhostscriptSandbox::make() {
    const fs::path base = temporaryFolder();
    static std::once_flag started;
    std::call_once(started, [&] {
        sweepStaleSandboxes(base.string());
        // Renders still running when the program ends (a thread left
        // behind by a show that ended) go with it.
        std::atexit(live_sandboxes::endAll);
    });
    std::string pattern =
        (base / (std::string(kPrefix) + std::to_string(getpid()) + "-XXXXXX")).string();
    // mkdtemp makes the folder for its owner alone.
    if (mkdtemp(pattern.data()) == nullptr)
        return makeError("cannot start Ghostscript: no folder for it to run in");
    const int slot = live_sandboxes::enter(pattern);
    return GhostscriptSandbox(std::move(pattern), slot);
}

GhostscriptSandbox::GhostscriptSandbox(GhostscriptSandbox&& other) noexcept
    : folder_(std::move(other.folder_)), slot_(other.slot_) {
    other.folder_.clear();
    other.slot_ = -1;
}

GhostscriptSandbox::~GhostscriptSandbox() {
    if (folder_.empty()) return;
    std::error_code ignored;
    // Symbolic links Ghostscript made are removed, never what they point at.
    fs::remove_all(folder_, ignored);
    live_sandboxes::leave(slot_);
}

std::vector<std::string> GhostscriptSandbox::environment() const {
    return {"TMPDIR=" + folder_, "TEMP=" + folder_, "TMP=" + folder_};
}

void GhostscriptSandbox::setChild(pid_t child) const {
    live_sandboxes::setChild(slot_, child);
}

}  // namespace pictavo::platform
