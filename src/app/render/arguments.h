#pragma once
// Reading a subcommand's words: positional words, options with a value,
// flags, and the numbers and sizes they carry. Every failure is one line
// for the user, and every subcommand reads its words this one way.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/result.h"

namespace pictavo::render {

struct CommandArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;
    std::set<std::string> flags;

    bool has(const std::string& option) const {
        return values.count(option) != 0 || flags.count(option) != 0;
    }
    // The option's value, or fallback when it was not given.
    std::string valueOr(const std::string& option, const std::string& fallback = {}) const {
        auto found = values.find(option);
        return found == values.end() ? fallback : found->second;
    }
};

// Every word starting with "--" must be one of valueOptions (followed by
// its value) or flags; an option may come once.
Result<CommandArgs> parseCommandArgs(const std::vector<std::string>& args,
                                     const std::set<std::string>& valueOptions,
                                     const std::set<std::string>& flags);

// The largest screen the slide and show commands stage on: their picture
// boxes and staged picture are held several times over.
inline constexpr int kLargestScreenSide = 8192;

struct PixelSize {
    int width = 0;
    int height = 0;
};

// "WxH", each side 1 to largestSide.
Result<PixelSize> parsePixelSize(const std::string& option, const std::string& text,
                                 int largestSide);
// A whole decimal number from minimum to maximum.
Result<int64_t> parseWholeNumber(const std::string& option, const std::string& text,
                                 int64_t minimum, int64_t maximum);

// Prints "pictavo-render COMMAND: MESSAGE" on the error stream; returns 2.
int badArguments(const std::string& command, const std::string& message);

}  // namespace pictavo::render
