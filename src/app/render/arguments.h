#pragma once
// Reading the options of a subcommand: "--name value" pairs and flags, and
// the numbers and sizes they carry. Every failure is one line for the user.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/result.h"
#include "imaging/limits.h"

namespace pictavo::render {

struct PixelSize {
    int width = 0;
    int height = 0;
};

// The largest width or height pictavo-render draws: what the saver decodes.
inline constexpr int kMaxPictureSide = static_cast<int>(imaging::kMaxPictureSide);

// "640x480": both sides 1 to kMaxPictureSide.
Result<PixelSize> parsePixelSize(std::string_view option, std::string_view text);
// A whole decimal number from low to high.
Result<int64_t> parseWholeNumber(std::string_view option, std::string_view text, int64_t low,
                                 int64_t high);

// Walks the arguments: each call to next() gives one option and, unless it
// is a flag, its value.
class OptionReader {
  public:
    explicit OptionReader(std::span<const std::string_view> arguments) : arguments_(arguments) {}

    struct Option {
        std::string_view name;
        std::string_view value;
    };
    // nullopt at the end; an Error for a word that is no option or a missing value.
    std::optional<Result<Option>> next(bool (*isFlag)(std::string_view name));

  private:
    std::span<const std::string_view> arguments_;
    size_t at_ = 0;
};

}  // namespace pictavo::render
