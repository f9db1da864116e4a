#include "app/linux/linux_arguments.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "common/text.h"

namespace pictavo::app {

namespace {

// "-name" and "--name" alike, as the hosts spell them either way.
bool isOption(const std::string& argument, const std::string& name) {
    return argument == "-" + name || argument == "--" + name;
}

Result<uint64_t> windowId(const std::string& text) {
    if (text.empty() || text[0] == '-') return makeError("-window-id needs a window id");
    errno = 0;
    char* end = nullptr;
    unsigned long long value = std::strtoull(text.c_str(), &end, 0);
    // X window ids have 29 bits; anything wider is no window.
    if (errno != 0 || end == text.c_str() || *end != '\0' || value == 0 || value > 0xFFFFFFFFull)
        return makeError("not a window id: " + shortened(text));
    return static_cast<uint64_t>(value);
}

// What follows a two-character switch, without the blanks around it.
std::string afterSwitch(const std::string& commandLine) {
    if (commandLine.size() <= 2) return {};
    const size_t first = commandLine.find_first_not_of(" \t", 2);
    if (first == std::string::npos) return {};
    return commandLine.substr(first, commandLine.find_last_not_of(" \t") + 1 - first);
}

// X window ids are as often written in hex as in decimal (xwininfo prints
// both): a "0x..." handle after /p or /a reaches the core, which reads a
// decimal number there as the Windows build does, in decimal.
std::string withDecimalHandle(const std::string& commandLine) {
    if (commandLine.size() < 2 || commandLine[0] != '/') return commandLine;
    const char mode = static_cast<char>(std::tolower(static_cast<unsigned char>(commandLine[1])));
    if (mode != 'p' && mode != 'a') return commandLine;
    size_t at = 2;
    while (at < commandLine.size() &&
           (commandLine[at] == ' ' || commandLine[at] == '\t' || commandLine[at] == ':')) {
        ++at;
    }
    if (commandLine.compare(at, 2, "0x") != 0 && commandLine.compare(at, 2, "0X") != 0)
        return commandLine;
    size_t end = at + 2;
    while (end < commandLine.size() && std::isxdigit(static_cast<unsigned char>(commandLine[end])))
        ++end;
    // No digits, or more than a 32-bit id has: left for the core to refuse.
    if (end == at + 2 || end - at - 2 > 8) return commandLine;
    const unsigned long value =
        std::strtoul(commandLine.substr(at + 2, end - at - 2).c_str(), nullptr, 16);
    return commandLine.substr(0, at) + std::to_string(value) + commandLine.substr(end);
}

}  // namespace

Result<LinuxArguments> parseLinuxArguments(const std::vector<std::string>& arguments) {
    LinuxArguments parsed;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (isOption(argument, "root")) {
            parsed.target = DrawTarget::RootWindow;
        } else if (isOption(argument, "window-id")) {
            auto id = windowId(i + 1 < arguments.size() ? arguments[++i] : "");
            if (!id) return id.error();
            parsed.target = DrawTarget::HostWindow;
            parsed.windowId = *id;
            parsed.windowNamed = arguments[i];
        } else if (argument == "--trace") {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty())
                return makeError("--trace needs a file name");
            parsed.traceFile = arguments[++i];
        } else {
            if (!parsed.commandLine.empty()) parsed.commandLine += ' ';
            parsed.commandLine += argument;
        }
    }
    if (parsed.target == DrawTarget::OwnWindows)
        parsed.windowNamed = shortened(afterSwitch(parsed.commandLine));
    parsed.commandLine = withDecimalHandle(parsed.commandLine);
    return parsed;
}

}  // namespace pictavo::app
