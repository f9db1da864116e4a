#pragma once
// The benchmarks' photo: smooth light and colour with grain, close to what a
// camera writes, so that it compresses to about the size of a real photo.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace pictavo::bench {

// Writes a binary PPM of width x height to out (a file, or a pipe into an
// encoder), a row at a time.
inline void writePhotoLikePpm(std::FILE* out, int width, int height) {
    std::fprintf(out, "P6\n%d %d\n255\n", width, height);
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    uint32_t noise = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int grain = static_cast<int>(noise >> 27) - 16;
            const int shape = ((x / 300 + y / 200) % 3) * 40;
            const int values[3] = {
                static_cast<int>(int64_t{x} * 200 / width) + shape,
                static_cast<int>(int64_t{y} * 200 / height) + 30,
                static_cast<int>(int64_t{x + y} * 120 / (width + height)) + 60 + shape / 2};
            for (int c = 0; c < 3; ++c) {
                row[static_cast<size_t>(x) * 3 + static_cast<size_t>(c)] =
                    static_cast<uint8_t>(std::clamp(values[c] + grain, 0, 255));
            }
        }
        std::fwrite(row.data(), 1, row.size(), out);
    }
}

// Pipes the photo into command (which reads a PPM on its standard input);
// false when it fails.
inline bool encodePhotoLike(const std::string& command, int width, int height) {
    std::FILE* pipe = popen(command.c_str(), "w");
    if (pipe == nullptr) return false;
    writePhotoLikePpm(pipe, width, height);
    return pclose(pipe) == 0;
}

}  // namespace pictavo::bench
