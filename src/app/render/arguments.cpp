#include "app/render/arguments.h"

#include <charconv>
#include <iostream>

#include "app/render/subcommand.h"
#include "common/text.h"

namespace pictavo::render {

Result<CommandArgs> parseCommandArgs(const std::vector<std::string>& args,
                                     const std::set<std::string>& valueOptions,
                                     const std::set<std::string>& flags) {
    CommandArgs parsed;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word.rfind("--", 0) != 0) {
            parsed.positional.push_back(word);
            continue;
        }
        if (parsed.has(word)) return makeError(word + " given twice");
        if (flags.count(word) != 0) {
            parsed.flags.insert(word);
        } else if (valueOptions.count(word) != 0) {
            if (i + 1 >= args.size()) return makeError(word + " needs a value");
            parsed.values[word] = args[++i];
        } else {
            return makeError("unknown option " + shortened(word));
        }
    }
    return parsed;
}

Result<int64_t> parseWholeNumber(const std::string& option, const std::string& text,
                                 int64_t minimum, int64_t maximum) {
    int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() ||
        value < minimum || value > maximum)
        return makeError(option + " wants a whole number from " + std::to_string(minimum) + " to " +
                         std::to_string(maximum) + ", not \"" + shortened(text) + "\"");
    return value;
}

Result<PixelSize> parsePixelSize(const std::string& option, const std::string& text,
                                 int largestSide) {
    const size_t cross = text.find('x');
    auto width = cross == std::string::npos
                     ? Result<int64_t>(makeError("no x"))
                     : parseWholeNumber(option, text.substr(0, cross), 1, largestSide);
    auto height = cross == std::string::npos
                      ? Result<int64_t>(makeError("no x"))
                      : parseWholeNumber(option, text.substr(cross + 1), 1, largestSide);
    if (!width || !height)
        return makeError(option + " wants WxH with sides from 1 to " + std::to_string(largestSide) +
                         ", not \"" + shortened(text) + "\"");
    return PixelSize{static_cast<int>(*width), static_cast<int>(*height)};
}

int badArguments(const std::string& command, const std::string& message) {
    std::cerr << "pictavo-render " << command << ": " << message << "\n";
    return kExitBadArguments;
}

}  // namespace pictavo::render
