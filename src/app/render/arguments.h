#pragma once
// Reading a subcommand's words: positional words, options with a value,
// flags, and the numbers and sizes they carry. Every failure is one line
// for the user, and every subcommand reads its words this one way.

#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/result.h"

namespace pictavo::render {

// The largest picture box or screen the subcommands draw on: their
// pictures are held several times over.
inline constexpr int kLargestScreenSide = 8192;

struct PixelSize {
    int width = 0;
    int height = 0;
};

// What a subcommand accepts.
struct CommandWords {
    // The positional word it wants ("FILE"), or none.
    std::optional<std::string> positional = {};
    std::set<std::string> valueOptions = {};
    std::set<std::string> flags = {};
    // The options it cannot do without, each with the shape of its value
    // for the message ("--size", "WxH").
    std::map<std::string, std::string> required = {};
};

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
    // The option's "WxH", each side 1 to kLargestScreenSide; none when not given.
    Result<std::optional<PixelSize>> size(const std::string& option) const;
    // The option's whole number from minimum to maximum; none when not given.
    Result<std::optional<int64_t>> number(const std::string& option, int64_t minimum,
                                          int64_t maximum) const;

    // The same into a setting, which keeps its value when the option is not
    // given: a list of these reads a command's settings in order, and the
    // first failure is the one reported.
    template <typename T>
    Result<void> read(const std::string& option, int64_t minimum, int64_t maximum, T& into) const {
        auto value = number(option, minimum, maximum);
        if (!value) return value.error();
        if (*value) into = static_cast<T>(**value);
        return {};
    }
    template <typename T>
    Result<void> read(const std::string& option, int64_t minimum, int64_t maximum,
                      std::optional<T>& into) const {
        auto value = number(option, minimum, maximum);
        if (!value) return value.error();
        if (*value) into = static_cast<T>(**value);
        return {};
    }
    Result<void> read(const std::string& option, std::optional<PixelSize>& into) const;
};

// The first failure among reads, or success.
Result<void> firstFailure(std::initializer_list<Result<void>> reads);

// Every word starting with "--" must be one of the value options (followed
// by its value) or flags; an option may come once; the positional word
// comes exactly once when one is wanted, never otherwise.
Result<CommandArgs> readCommandArgs(const std::vector<std::string>& args,
                                    const CommandWords& words);

// Prints "pictavo-render COMMAND: MESSAGE" on the error stream; returns 2.
int badArguments(const std::string& command, const std::string& message);

}  // namespace pictavo::render
