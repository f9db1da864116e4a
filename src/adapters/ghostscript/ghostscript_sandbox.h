#pragma once
// The room Ghostscript runs in: a new empty folder that is its current
// folder and its only temporary folder, and an environment that holds
// nothing but that. With -dSAFER Ghostscript may still read, write and
// delete files in its temporary folder; pointed at the user's /tmp, a
// drawing could change files there. The folder, and whatever Ghostscript
// left in it, goes with the sandbox.

#include <string>
#include <vector>

#include "common/result.h"

namespace pictavo::platform {

class GhostscriptSandbox {
  public:
    // A new folder under the system's temporary folder.
    static Result<GhostscriptSandbox> make();

    GhostscriptSandbox(GhostscriptSandbox&& other) noexcept;
    GhostscriptSandbox& operator=(GhostscriptSandbox&&) = delete;
    GhostscriptSandbox(const GhostscriptSandbox&) = delete;
    GhostscriptSandbox& operator=(const GhostscriptSandbox&) = delete;
    ~GhostscriptSandbox();

    const std::string& folder() const { return folder_; }
    // Ghostscript's whole environment: none of ours (GS_OPTIONS could hand
    // it -dNOSAFER, GS_LIB files of its own to run), only the temporary
    // folder under each name Ghostscript looks for.
    std::vector<std::string> environment() const;

  private:
    explicit GhostscriptSandbox(std::string folder) : folder_(std::move(folder)) {}
    std::string folder_;
};

}  // namespace pictavo::platform
