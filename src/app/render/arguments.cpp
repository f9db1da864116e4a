#include "app/render/arguments.h"

#include <charconv>
#include <iostream>

#include "app/render/subcommand.h"
#include "common/text.h"

namespace pictavo::render {

namespace {

Result<CommandArgs> splitWords(const std::vector<std::string>& args, const CommandWords& words) {
    CommandArgs parsed;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word.rfind("--", 0) != 0) {
            parsed.positional.push_back(word);
            continue;
        }
        if (parsed.has(word)) return makeError(word + " given twice");
        if (words.flags.count(word) != 0) {
            parsed.flags.insert(word);
        } else if (words.valueOptions.count(word) != 0) {
            if (i + 1 >= args.size()) return makeError(word + " needs a value");
            parsed.values[word] = args[++i];
        } else {
            return makeError("unknown option " + shortened(word));
        }
    }
    return parsed;
}

Result<int64_t> wholeNumber(const std::string& option, const std::string& text, int64_t minimum,
                            int64_t maximum) {
    int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() ||
        value < minimum || value > maximum)
        return makeError(option + " wants a whole number from " + std::to_string(minimum) + " to " +
                         std::to_string(maximum) + ", not \"" + shortened(text) + "\"");
    return value;
}

Result<PixelSize> pixelSize(const std::string& option, const std::string& text) {
    const size_t cross = text.find('x');
    auto side = [&](const std::string& part) {
        return cross == std::string::npos ? Result<int64_t>(makeError("no x"))
                                          : wholeNumber(option, part, 1, kLargestScreenSide);
    };
    auto width = side(text.substr(0, cross));
    auto height = side(cross == std::string::npos ? std::string{} : text.substr(cross + 1));
    if (!width || !height)
        return makeError(option + " wants WxH with sides from 1 to " +
                         std::to_string(kLargestScreenSide) + ", not \"" + shortened(text) + "\"");
    return PixelSize{static_cast<int>(*width), static_cast<int>(*height)};
}

}  // namespace

Result<CommandArgs> readCommandArgs(const std::vector<std::string>& args,
                                    const CommandWords& words) {
    auto parsed = splitWords(args, words);
    if (!parsed) return parsed;
    const size_t wanted = words.positional ? 1 : 0;
    if (parsed->positional.size() > wanted)
        return makeError("unexpected argument '" + shortened(parsed->positional[wanted]) + "'");
    if (parsed->positional.size() < wanted) return makeError("wants one " + *words.positional);
    for (const auto& [option, shape] : words.required)
        if (!parsed->has(option)) return makeError("wants " + option + " " + shape);
    return parsed;
}

Result<std::optional<PixelSize>> CommandArgs::size(const std::string& option) const {
    if (!has(option)) return std::optional<PixelSize>{};
    auto size = pixelSize(option, valueOr(option));
    if (!size) return size.error();
    return std::optional<PixelSize>{*size};
}

Result<std::optional<int64_t>> CommandArgs::number(const std::string& option, int64_t minimum,
                                                   int64_t maximum) const {
    if (!has(option)) return std::optional<int64_t>{};
    auto value = wholeNumber(option, valueOr(option), minimum, maximum);
    if (!value) return value.error();
    return std::optional<int64_t>{*value};
}

Result<void> CommandArgs::read(const std::string& option, std::optional<PixelSize>& into) const {
    auto read = size(option);
    if (!read) return read.error();
    if (*read) into = *read;
    return {};
}

Result<void> firstFailure(std::initializer_list<Result<void>> reads) {
    for (const Result<void>& read : reads)
        if (!read) return read;
    return {};
}

int badArguments(const std::string& command, const std::string& message) {
    std::cerr << "pictavo-render " << command << ": " << message << "\n";
    return kExitBadArguments;
}

}  // namespace pictavo::render
