#include "hosts/win32/program_arguments.h"

namespace pictavo::platform::win32 {

namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
}  // namespace

std::string_view argumentsAfterProgramName(std::string_view commandLine) {
    size_t position = 0;
    while (position < commandLine.size() && isBlank(commandLine[position])) ++position;
    if (position < commandLine.size() && commandLine[position] == '"') {
        // A quoted name runs to the next quote; file names hold none.
        size_t closing = commandLine.find('"', position + 1);
        position = closing == std::string_view::npos ? commandLine.size() : closing + 1;
    } else {
        while (position < commandLine.size() && !isBlank(commandLine[position])) ++position;
    }
    while (position < commandLine.size() && isBlank(commandLine[position])) ++position;
    return commandLine.substr(position);
}

}  // namespace pictavo::platform::win32
