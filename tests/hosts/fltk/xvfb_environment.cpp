#include "xvfb_environment.h"

#include <FL/Fl.H>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>

namespace pictavo::testing {

namespace {

std::string readDisplayNumber(int fd) {
    std::string number;
    char c = 0;
    while (read(fd, &c, 1) == 1 && c != '\n') number += c;
    return number;
}

class XvfbEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        display_ = std::make_unique<XvfbDisplay>();
        ASSERT_TRUE(display_->running()) << "Xvfb did not start";
    }
    void TearDown() override { display_.reset(); }

  private:
    std::unique_ptr<XvfbDisplay> display_;
};

[[maybe_unused]] const ::testing::Environment* const kXvfb =
    ::testing::AddGlobalTestEnvironment(new XvfbEnvironment);

}  // namespace

XvfbDisplay::XvfbDisplay() {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        // The server goes with the test program, however that ends, and
        // keeps its chatter and the program's output pipes to itself.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        int null = open("/dev/null", O_RDWR);
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
               "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return;
    }
    std::string number = readDisplayNumber(fds[0]);
    close(fds[0]);
    if (number.empty()) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        return;
    }
    pid_ = pid;
    name_ = ":" + number;
    setenv("DISPLAY", name_.c_str(), 1);
}

XvfbDisplay::~XvfbDisplay() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
}

bool xdotool(const std::string& arguments) {
    std::string command = "xdotool " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

bool pumpUntil(const std::function<bool()>& done, double seconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        Fl::wait(0.02);
    }
    return true;
}

void pumpFor(double seconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) Fl::wait(0.02);
}

}  // namespace pictavo::testing
