#pragma once
// PostScript drawn by Ghostscript in a process of its own: -dSAFER, in a
// sandbox of its own (GhostscriptSandbox: an empty folder, no environment),
// fed on its standard input, read back as a PPM from its standard output,
// under a time limit and a memory limit.

#include <chrono>
#include <cstdint>
#include <string>

#include "imaging/decoders/eps.h"

namespace pictavo::platform {

class GhostscriptRenderer final : public imaging::PostScriptRenderer {
  public:
    struct Limits {
        std::chrono::milliseconds time;
        uint64_t memoryBytes;
    };
    static constexpr Limits kDefaultLimits{std::chrono::milliseconds(10000), uint64_t{1} << 30};

    // program: a name looked up on the PATH, or a path.
    explicit GhostscriptRenderer(std::string program = "gs", Limits limits = kDefaultLimits);

    bool available() const override;
    // A cancelled render ends Ghostscript within a few milliseconds.
    Result<imaging::Image> renderPostScript(std::span<const uint8_t> postScript, int width,
                                            int height, const imaging::BoundingBox& box,
                                            imaging::WorkMeter& work) const override;

  private:
    std::string path_;  // empty when the program is not there
    Limits limits_;
};

}  // namespace pictavo::platform
