#include "limited_run.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace pictavo::hostile {

namespace {

std::string slurp(FILE* file) {
    std::string text;
    std::rewind(file);
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
    return text;
}

// The high-water mark of the process's own memory since its exec. (The
// rusage of a child counts what its parent held when it forked it too.)
uint64_t highWaterBytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtoull(line.c_str() + 6, nullptr, 10) * 1024;
    }
    return 0;
}

std::vector<char*> pointers(const std::vector<std::string>& texts) {
    std::vector<char*> list;
    for (const std::string& text : texts) list.push_back(const_cast<char*>(text.c_str()));
    list.push_back(nullptr);
    return list;
}

double seconds(const timeval& value) {
    return static_cast<double>(value.tv_sec) + static_cast<double>(value.tv_usec) / 1e6;
}

}  // namespace

std::vector<std::string> environmentWith(const std::vector<std::string>& changes) {
    std::vector<std::string> all;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string pair = *entry;
        const std::string name = pair.substr(0, pair.find('=') + 1);
        const bool changed = std::any_of(changes.begin(), changes.end(),
                                         [&](const std::string& c) { return c.starts_with(name); });
        if (!changed) all.push_back(pair);
    }
    all.insert(all.end(), changes.begin(), changes.end());
    return all;
}

RunResult runLimited(const std::vector<std::string>& arguments, const Limits& limits,
                     const std::vector<std::string>& environment) {
    RunResult result;
    // Unnamed files for what the child prints: no pipe to drain while waiting.
    FILE* out = std::tmpfile();
    FILE* err = std::tmpfile();
    if (out == nullptr || err == nullptr || arguments.empty()) {
        if (out) std::fclose(out);
        if (err) std::fclose(err);
        return result;
    }
    const std::vector<char*> argv = pointers(arguments);
    const std::vector<std::string> variables = environmentWith(environment);
    const std::vector<char*> envp = pointers(variables);

    const auto begun = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fileno(out), STDOUT_FILENO);
        dup2(fileno(err), STDERR_FILENO);
        if (limits.addressBytes > 0) {
            const rlimit memory{limits.addressBytes, limits.addressBytes};
            setrlimit(RLIMIT_AS, &memory);
        }
        if (limits.cpuSeconds > 0) {
            const rlimit cpu{limits.cpuSeconds, limits.cpuSeconds};
            setrlimit(RLIMIT_CPU, &cpu);
        }
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    if (pid > 0) {
        result.started = true;
        int status = 0;
        rusage usage{};
        const auto deadline = begun + std::chrono::duration<double>(limits.wallSeconds);
        uint64_t highWater = 0;
        while (true) {
            const pid_t done = wait4(pid, &status, WNOHANG, &usage);
            if (done == pid) break;
            if (done < 0) break;
            highWater = std::max(highWater, highWaterBytes(pid));
            if (std::chrono::steady_clock::now() > deadline && !result.killed) {
                kill(pid, SIGKILL);
                result.killed = true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        result.wallSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
        result.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
        // Read until the child's last moments; its peak stays with it to the end.
        result.peakRssBytes =
            highWater > 0 ? highWater : static_cast<uint64_t>(usage.ru_maxrss) * 1024;
        if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
        if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
        result.out = slurp(out);
        result.err = slurp(err);
    }
    std::fclose(out);
    std::fclose(err);
    return result;
}

}  // namespace pictavo::hostile
