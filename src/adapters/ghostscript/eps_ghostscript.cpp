#include "adapters/ghostscript/eps_ghostscript.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string_view>
#include <vector>

#include "adapters/ghostscript/ghostscript_sandbox.h"
#include "adapters/ghostscript/ppm_stream.h"

namespace pictavo::platform {

namespace {

using Clock = std::chrono::steady_clock;

// How often the wait for Ghostscript looks whether the picture is still wanted.
constexpr int64_t kLookEveryMs = 10;

std::string findProgram(const std::string& program) {
    if (program.find('/') != std::string::npos) {
        return access(program.c_str(), X_OK) == 0 ? program : std::string{};
    }
    const char* path = std::getenv("PATH");
    std::string_view folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (!folders.empty()) {
        const size_t end = folders.find(':');
        const std::string folder(folders.substr(0, end));
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
        struct stat info {};
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        if (end == std::string_view::npos) break;
        folders.remove_prefix(end + 1);
    }
    return {};
}

class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Descriptor& operator=(Descriptor&& other) noexcept {
        if (this != &other) {
            reset();
            fd_ = other.fd_;
            other.fd_ = -1;
        }
        return *this;
    }
    ~Descriptor() { reset(); }
    int get() const { return fd_; }
    void reset() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }

  private:
    int fd_;
};

// Writing to a pipe whose reader has gone raises SIGPIPE, which would end
// the whole saver. While the child is fed, the signal is held back for this
// thread and any that arrived is taken off its queue afterwards.
class SigpipeGuard {
  public:
    SigpipeGuard() {
        sigemptyset(&pipeOnly_);
        sigaddset(&pipeOnly_, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        wasPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipeOnly_, &previous_);
    }
    ~SigpipeGuard() {
        if (!wasPending_) {
            const timespec noWait{0, 0};
            while (sigtimedwait(&pipeOnly_, nullptr, &noWait) == SIGPIPE) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }

  private:
    sigset_t pipeOnly_{};
    sigset_t previous_{};
    bool wasPending_ = false;
};

struct Child {
    pid_t pid = -1;
    Descriptor input;
    Descriptor output;
};

std::vector<char*> pointers(const std::vector<std::string>& texts) {
    std::vector<char*> list;
    for (const std::string& text : texts) list.push_back(const_cast<char*>(text.c_str()));
    list.push_back(nullptr);
    return list;
}

// A limit in bytes as setrlimit takes it: in a 32-bit build rlim_t has 32
// bits, and a limit beyond them is no limit rather than a wrapped small one.
rlim_t byteLimit(uint64_t bytes) {
    return bytes >= std::numeric_limits<rlim_t>::max() ? RLIM_INFINITY : static_cast<rlim_t>(bytes);
}

// Ghostscript's own limits, set in the child before it runs Ghostscript.
void limitChild(const GhostscriptRenderer::Limits& limits) {
    const rlimit memory{byteLimit(limits.memoryBytes), byteLimit(limits.memoryBytes)};
    setrlimit(RLIMIT_AS, &memory);
    // A second guard besides the parent's clock: processor seconds.
    const auto seconds = static_cast<rlim_t>((limits.time.count() + 999) / 1000);
    const rlimit cpu{seconds, seconds + 1};
    setrlimit(RLIMIT_CPU, &cpu);
    // -dSAFER still lets PostScript write temporary files (.tempfile).
    const rlimit files{byteLimit(limits.fileBytes), byteLimit(limits.fileBytes)};
    setrlimit(RLIMIT_FSIZE, &files);
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
}

Result<Child> start(const std::string& path, const std::vector<std::string>& arguments,
                    const GhostscriptSandbox& sandbox, const GhostscriptRenderer::Limits& limits) {
    int toChild[2];
    int fromChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0) return makeError("cannot start Ghostscript: no pipe");
    if (pipe2(fromChild, O_CLOEXEC) != 0) {
        close(toChild[0]);
        close(toChild[1]);
        return makeError("cannot start Ghostscript: no pipe");
    }
    const std::vector<char*> argv = pointers(arguments);
    const std::vector<std::string> environment = sandbox.environment();
    const std::vector<char*> envp = pointers(environment);
    const char* room = sandbox.folder().c_str();
    const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);

    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        // In the child only async-signal-safe calls until exec.
        // Ghostscript never outlives the thread that started it, however
        // that thread ends.
        if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent) _exit(126);
        dup2(toChild[0], STDIN_FILENO);
        dup2(fromChild[1], STDOUT_FILENO);
        if (devNull >= 0) dup2(devNull, STDERR_FILENO);
        limitChild(limits);
        // Nothing of Ghostscript's lands beside the pictures, and a relative
        // name finds nothing of the user's.
        if (chdir(room) != 0) _exit(126);
        execve(path.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    if (devNull >= 0) close(devNull);
    if (pid < 0) {
        close(toChild[1]);
        close(fromChild[0]);
        return makeError("cannot start Ghostscript");
    }
    fcntl(toChild[1], F_SETFL, fcntl(toChild[1], F_GETFL) | O_NONBLOCK);
    fcntl(fromChild[0], F_SETFL, fcntl(fromChild[0], F_GETFL) | O_NONBLOCK);
    Child child;
    child.pid = pid;
    child.input = Descriptor(toChild[1]);
    child.output = Descriptor(fromChild[0]);
    return child;
}

void stop(pid_t pid) {
    kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

std::string number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

std::vector<std::string> ghostscriptArguments(const std::string& path, int width, int height,
                                              const imaging::BoundingBox& box) {
    // The page is the bounding box: the program is moved so that the box's
    // corner is the page's, and drawn at the resolution that makes the box
    // width x height pixels.
    const double resolution = width * 72.0 / box.width();
    return {
        path,
        "-q",
        "-dSAFER",
        "-dBATCH",
        "-dNOPAUSE",
        "-dQUIET",
        "-dNOPROMPT",
        "-sDEVICE=ppmraw",
        // What the PostScript prints, and Ghostscript's reports of its
        // errors, go where they cannot mix with the picture.
        "-sstdout=%stderr",
        "-dTextAlphaBits=4",
        "-dGraphicsAlphaBits=4",
        "-r" + number(resolution) + "x" + number(height * 72.0 / box.height()),
        "-g" + std::to_string(width) + "x" + std::to_string(height),
        "-sOutputFile=-",
        "-c",
        number(-box.left) + " " + number(-box.bottom) + " translate",
        "-f",
        "-",
        "-c",
        "showpage",
    };
}

}  // namespace

GhostscriptRenderer::GhostscriptRenderer(std::string program, Limits limits)
    : path_(findProgram(program)), limits_(limits) {}

bool GhostscriptRenderer::available() const {
    return !path_.empty();
}

namespace {

// Feeds the PostScript to Ghostscript and reads its page until it closes
// its output; an error when the picture is no longer wanted, time runs out
// or the pipes fail (Ghostscript is killed and waited for then).
Result<void> exchange(Child& child, std::span<const uint8_t> postScript, PpmStream& page,
                      Clock::time_point deadline, const imaging::WorkMeter& work) {
    size_t written = 0;
    uint8_t buffer[65536];
    while (true) {
        // Nobody wants the picture any more: Ghostscript goes at once.
        if (work.stopped()) {
            stop(child.pid);
            return work.stopError();
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            stop(child.pid);
            return makeError("EPS rendering timed out");
        }
        pollfd watched[2] = {{child.output.get(), POLLIN, 0}, {child.input.get(), POLLOUT, 0}};
        const nfds_t count = child.input.get() >= 0 ? 2 : 1;
        const int ready =
            poll(watched, count, static_cast<int>(std::min<int64_t>(left.count(), kLookEveryMs)));
        if (ready < 0 && errno != EINTR) {
            // Nothing more can be read: end the child rather than wait on it.
            stop(child.pid);
            return makeError("EPS rendering failed: cannot read from Ghostscript");
        }
        if (count == 2 && (watched[1].revents & (POLLOUT | POLLERR | POLLHUP))) {
            const ssize_t sent =
                write(child.input.get(), postScript.data() + written, postScript.size() - written);
            if (sent > 0) written += static_cast<size_t>(sent);
            // All sent, or the reader stopped reading: no more input.
            if (written == postScript.size() || (sent < 0 && errno != EAGAIN && errno != EINTR)) {
                child.input.reset();
            }
        }
        if (watched[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            const ssize_t got = read(child.output.get(), buffer, sizeof buffer);
            if (got > 0) {
                // One page is all we want; the PostScript's own showpage may add more.
                page.feed({buffer, static_cast<size_t>(got)});
            } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
                return {};
            }
        }
    }
}

// Why Ghostscript, which ended as status says, gave no page.
Error noPage(int status) {
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGXCPU)
        return makeError("EPS rendering timed out");
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ)
        return makeError("EPS rendering failed: Ghostscript wrote too much");
    return makeError("EPS rendering failed: Ghostscript drew nothing");
}

}  // namespace

Result<imaging::Image> GhostscriptRenderer::renderPostScript(std::span<const uint8_t> postScript,
                                                             int width, int height,
                                                             const imaging::BoundingBox& box,
                                                             imaging::WorkMeter& work) const {
    if (path_.empty()) return makeError("EPS needs Ghostscript, and it is not installed");
    const std::vector<std::string> arguments = ghostscriptArguments(path_, width, height, box);
    auto sandbox = GhostscriptSandbox::make();
    if (!sandbox) return sandbox.error();
    SigpipeGuard quietPipes;
    auto started = start(path_, arguments, *sandbox, limits_);
    if (!started) return started.error();
    Child& child = started.value();
    sandbox->setChild(child.pid);

    PpmStream page(width, height);
    auto exchanged = exchange(child, postScript, page, Clock::now() + limits_.time, work);
    int status = 0;
    if (exchanged) {
        child.input.reset();
        while (waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    sandbox->setChild(-1);
    if (!exchanged) return exchanged.error();
    if (!page.started()) return noPage(status);
    return page.finish();
}

}  // namespace pictavo::platform
