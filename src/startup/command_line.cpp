#include "startup/command_line.h"

#include <string>

#include "common/numbers.h"
#include "common/text.h"

namespace pictavo::startup {

int32_t parseWindowHandle(std::string_view afterSwitch) {
    return tryInt32(parseLeadingNumber(afterSwitch)).value_or(0);
}

CommandLine parseCommandLine(std::string_view commandLine) {
    std::string switchText = toLowerAscii(commandLine.substr(0, 2));
    std::string_view rest = commandLine.size() > 2 ? commandLine.substr(2) : std::string_view{};
    if (switchText == "/s") return {Mode::Show, 0};
    if (switchText == "/p") return {Mode::Preview, parseWindowHandle(rest)};
    if (switchText == "/a") return {Mode::ChangePassword, parseWindowHandle(rest)};
    return {Mode::Configure, 0};
}

}  // namespace pictavo::startup
