#pragma once
// Runs a program in a child process under limits (setrlimit), and reports
// how it ended, what it printed, and the time and memory it took.

#include <cstdint>
#include <string>
#include <vector>

namespace pictavo::hostile {

struct Limits {
    double wallSeconds = 10;    // killed after this long
    uint64_t addressBytes = 0;  // RLIMIT_AS; 0: none
    uint64_t cpuSeconds = 0;    // RLIMIT_CPU; 0: none
};

struct RunResult {
    bool started = false;
    bool killed = false;  // by the wall-clock limit
    int exitCode = -1;    // -1 when ended by a signal
    int signal = 0;
    std::string out;
    std::string err;
    double wallSeconds = 0;
    double cpuSeconds = 0;      // user + system
    uint64_t peakRssBytes = 0;  // the child's maximum resident set after its exec
};

// This process's environment with the NAME=VALUE pairs of changes put
// over it.
std::vector<std::string> environmentWith(const std::vector<std::string>& changes);

// arguments[0] is the program's path; environment holds NAME=VALUE pairs
// the child gets besides (or instead of) those of this process.
RunResult runLimited(const std::vector<std::string>& arguments, const Limits& limits,
                     const std::vector<std::string>& environment = {});

}  // namespace pictavo::hostile
