#pragma once
// One subcommand of pictavo-render: `pictavo-render NAME ARGS...`.

#include <span>
#include <string_view>

namespace pictavo::render {

// Exit statuses shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed =
    1;  // the work started and could not finish (a file could not be written)
inline constexpr int kExitBadArguments = 2;  // nothing was written

struct Subcommand {
    std::string_view name;
    std::string_view usage;  // the arguments, for the help text
    int (*run)(std::span<const std::string_view> arguments);
};

}  // namespace pictavo::render
