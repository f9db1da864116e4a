#pragma once
// The room Ghostscript runs in: a new empty folder that is its current
// folder and its only temporary folder, and an environment that holds
// nothing but that. With -dSAFER Ghostscript may still read, write and
// delete files in its temporary folder; pointed at the user's /tmp, a
// drawing could change files there. The folder, and whatever Ghostscript
// left in it, goes with the sandbox; a sandbox still in use when the
// program ends (a show ended during a render, a termination signal) goes
// then, after its Ghostscript; and one left by a program that could not
// clean up (killed outright) is swept by the next.

#include <sys/types.h>

#include <string>
#include <vector>

#include "common/result.h"

namespace pictavo::platform {

class GhostscriptSandbox {
  public:
    // A new folder under the system's temporary folder, named for this
    // process: pictavo-gs-PID-XXXXXX. The first one of a process sweeps
    // the stale ones first.
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
    // The Ghostscript running in the sandbox, which an ending program kills
    // and waits for before it removes the folder; -1 once it was waited for.
    void setChild(pid_t child) const;

  private:
    GhostscriptSandbox(std::string folder, int slot) : folder_(std::move(folder)), slot_(slot) {}
    std::string folder_;
    int slot_ = -1;
};

// Removes the sandboxes in folder that nobody uses any more: those whose
// process has gone, and any older than an hour (no render lasts that long,
// and a process id may have been given to another program since). Only
// sandboxes: folders, not links, of this user, named pictavo-gs-*.
void sweepStaleSandboxes(const std::string& folder);

// For a program that leaves SIGTERM, SIGINT and SIGHUP to their default
// action (pictavo-render): each first ends the sandboxes in use (kills
// their Ghostscript, waits for it, removes the folder), then ends the
// program as it would have. A program with handlers of its own ends its
// renders through its decode's cancel flag and needs none of this.
void cleanUpSandboxesOnTermination();

}  // namespace pictavo::platform
