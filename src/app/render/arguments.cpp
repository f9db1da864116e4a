#include "app/render/arguments.h"

#include <charconv>

#include "common/text.h"

namespace pictavo::render {

namespace {

std::optional<int64_t> wholeNumber(std::string_view text) {
    int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// Echoed in a message: its start only, however long it was.
std::string quoted(std::string_view text) {
    return "'" + shortened(text) + "'";
}

}  // namespace

Result<int64_t> parseWholeNumber(std::string_view option, std::string_view text, int64_t low,
                                 int64_t high) {
    std::optional<int64_t> value = wholeNumber(text);
    if (!value || *value < low || *value > high)
        return makeError("bad " + std::string(option) + " " + quoted(text) +
                         ": expected a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high));
    return *value;
}

Result<PixelSize> parsePixelSize(std::string_view option, std::string_view text) {
    size_t cross = text.find('x');
    std::optional<int64_t> width =
        cross == std::string_view::npos ? std::nullopt : wholeNumber(text.substr(0, cross));
    std::optional<int64_t> height =
        cross == std::string_view::npos ? std::nullopt : wholeNumber(text.substr(cross + 1));
    if (!width || !height || *width < 1 || *height < 1 || *width > kMaxPictureSide ||
        *height > kMaxPictureSide)
        return makeError("bad " + std::string(option) + " " + quoted(text) +
                         ": expected WIDTHxHEIGHT, each 1 to " + std::to_string(kMaxPictureSide));
    return PixelSize{static_cast<int>(*width), static_cast<int>(*height)};
}

std::optional<Result<OptionReader::Option>> OptionReader::next(
    bool (*isFlag)(std::string_view name)) {
    if (at_ >= arguments_.size()) return std::nullopt;
    std::string_view name = arguments_[at_++];
    if (!name.starts_with("--"))
        return Result<Option>(makeError("unexpected argument " + quoted(name)));
    if (isFlag(name)) return Result<Option>(Option{name, {}});
    if (at_ >= arguments_.size() || arguments_[at_].starts_with("--"))
        return Result<Option>(makeError("missing value after " + std::string(name)));
    return Result<Option>(Option{name, arguments_[at_++]});
}

}  // namespace pictavo::render
