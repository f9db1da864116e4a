#include "adapters/ghostscript/live_sandboxes.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace pictavo::platform::live_sandboxes {

namespace {

enum State : int { kFree, kChanging, kInUse };

struct Slot {
    std::atomic<int> state{kFree};
    std::atomic<pid_t> child{-1};
    char folder[4096];
};

// A few renders at a time at most: the staging thread's, and one left
// behind by a show that ended while it rendered.
constexpr int kSlots = 8;

// Process-wide by nature: what a signal handler reaches must be.
Slot* slots() {
    static Slot all[kSlots];
    return all;
}

constexpr int kDeepest = 8;

bool isDotEntry(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Empties the folder open as fd; entries removed while it is read can make
// the reading skip others, so it reads again until a pass removes nothing.
void emptyFolder(int fd, int depth) {
    char buffer[4096];
    for (bool removed = true; removed;) {
        removed = false;
        lseek(fd, 0, SEEK_SET);
        long got = 0;
        while ((got = getdents64(fd, buffer, sizeof buffer)) > 0) {
            for (long at = 0; at < got;) {
                const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
                at += entry->d_reclen;
                if (isDotEntry(entry->d_name)) continue;
                if (unlinkat(fd, entry->d_name, 0) == 0) {
                    removed = true;
                    continue;
                }
                if (errno != EISDIR || depth >= kDeepest) continue;
                const int inner =
                    openat(fd, entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
                if (inner < 0) continue;
                emptyFolder(inner, depth + 1);
                close(inner);
                removed = unlinkat(fd, entry->d_name, AT_REMOVEDIR) == 0 || removed;
            }
        }
    }
}

// Removes the folder and everything in it, never following a link.
void removeFolder(const char* folder) {
    const int fd = open(folder, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        emptyFolder(fd, 0);
        close(fd);
    }
    rmdir(folder);
}

}  // namespace

int enter(const std::string& folder) {
    if (folder.size() >= sizeof Slot::folder) return -1;
    for (int i = 0; i < kSlots; ++i) {
        Slot& slot = slots()[i];
        int expected = kFree;
        if (!slot.state.compare_exchange_strong(expected, kChanging)) continue;
        std::memcpy(slot.folder, folder.c_str(), folder.size() + 1);
        slot.child.store(-1);
        slot.state.store(kInUse);
        return i;
    }
    return -1;
}

void setChild(int slot, pid_t child) {
    if (slot >= 0) slots()[slot].child.store(child);
}

void leave(int slot) {
    if (slot < 0) return;
    slots()[slot].child.store(-1);
    slots()[slot].state.store(kFree);
}

void endAll() {
    for (int i = 0; i < kSlots; ++i) {
        Slot& slot = slots()[i];
        if (slot.state.load() != kInUse) continue;
        const pid_t child = slot.child.load();
        if (child > 0) {
            kill(child, SIGKILL);
            // Whoever waits first reaps it; the other hears that it is gone.
            while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
            }
        }
        removeFolder(slot.folder);
    }
}

}  // namespace pictavo::platform::live_sandboxes
