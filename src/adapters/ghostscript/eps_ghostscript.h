#pragma once
// PostScript drawn by Ghostscript in a process of its own: -dSAFER, in a
// sandbox of its own (GhostscriptSandbox: an empty folder, no environment),
// fed on its standard input, read back as a PPM from its standard output,
// under limits of time (its own processor time and the clock's), memory
// and the size of the files it may write.

#include <chrono>
#include <cstdint>
#include <string>

#include "imaging/decoders/eps.h"

namespace pictavo::platform {

class GhostscriptRenderer final : public imaging::PostScriptRenderer {
  public:
    struct Limits {
        std::chrono::milliseconds time;
        uint64_t memoryBytes;  // address space
        uint64_t fileBytes = uint64_t{64} << 20;
    };
    // What one slide may take: a picture is shown or refused within about
    // two seconds, and Ghostscript's memory is its own, beside the saver's.
    static constexpr Limits kDefaultLimits{std::chrono::milliseconds(2000), uint64_t{256} << 20,
                                           uint64_t{64} << 20};

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
