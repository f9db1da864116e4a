#pragma once
// The Ghostscript sandboxes in use in this process, where the end of the
// process and a termination signal's handler can reach them: a handler may
// touch nothing but plain memory, so they are kept in fixed slots, and
// ending them uses only calls a handler may make.

#include <sys/types.h>

#include <string>

namespace pictavo::platform::live_sandboxes {

// Takes a slot for the sandbox in folder; -1 when every slot is taken (the
// sandbox then goes only with its owner).
int enter(const std::string& folder);
// The Ghostscript process running in the slot's sandbox; -1 once it has
// been waited for.
void setChild(int slot, pid_t child);
void leave(int slot);

// Ends every sandbox still in use: kills its Ghostscript, waits for it and
// removes its folder with whatever is in it. Safe in a signal handler.
void endAll();

}  // namespace pictavo::platform::live_sandboxes
