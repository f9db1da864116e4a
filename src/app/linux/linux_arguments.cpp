#include "app/linux/linux_arguments.h"

#include <cerrno>
#include <cstdlib>

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
        return makeError("not a window id: " + text);
    return static_cast<uint64_t>(value);
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
        } else {
            if (!parsed.commandLine.empty()) parsed.commandLine += ' ';
            parsed.commandLine += argument;
        }
    }
    return parsed;
}

}  // namespace pictavo::app
