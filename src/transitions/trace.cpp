#include "transitions/trace.h"

#include <charconv>
#include <cstring>

namespace pictavo::transitions {

void StreamTrace::writeLine(const char* word, const int32_t* values, int count) {
    // Formatted on the stack: a trace of tens of thousands of lines must not
    // allocate once per line.
    char line[128];
    size_t length = std::strlen(word);
    std::memcpy(line, word, length);
    char* end = line + sizeof line;
    char* at = line + length;
    for (int i = 0; i < count; ++i) {
        *at++ = ' ';
        at = std::to_chars(at, end, values[i]).ptr;
    }
    *at++ = '\n';
    out_.write(line, at - line);
}

void StreamTrace::copy(int32_t dx, int32_t dy, int32_t w, int32_t h, int32_t sx, int32_t sy) {
    const int32_t values[] = {dx, dy, w, h, sx, sy};
    writeLine("copy", values, 6);
}

void StreamTrace::stretch(int32_t dx, int32_t dy, int32_t w, int32_t h) {
    const int32_t values[] = {dx, dy, w, h};
    writeLine("stretch", values, 4);
}

void StreamTrace::delay(int32_t units) {
    writeLine("delay", &units, 1);
}

}  // namespace pictavo::transitions
