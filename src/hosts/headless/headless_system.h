#pragma once
// The cursor and the operating system as a test sees them: every call is
// counted, every answer can be chosen.

#include <vector>

#include "platform/cursor.h"
#include "platform/system_info.h"

namespace pictavo::platform::headless {

class HeadlessCursor : public Cursor {
  public:
    int showCursor(bool show) override {
        count_ += show ? 1 : -1;
        ++calls_;
        return count_;
    }
    int displayCount() const { return count_; }
    bool visible() const { return count_ >= 0; }
    int calls() const { return calls_; }

  private:
    int count_ = 0;
    int calls_ = 0;
};

class HeadlessSystemInfo : public SystemInfo {
  public:
    int getVersion(OsVersionInfo& info) override {
        ++versionCalls_;
        if (info.size != sizeof(OsVersionInfo)) return 0;
        info.majorVersion = 4;
        info.platformId = platformId_;
        return 1;
    }
    int setScreenSaverRunning(bool running) override {
        flagCalls_.push_back(running);
        running_ = running;
        return 1;
    }

    void setPlatformId(uint32_t id) { platformId_ = id; }
    bool screenSaverRunning() const { return running_; }
    // Every call of the flag, in order: true = set, false = cleared.
    const std::vector<bool>& flagCalls() const { return flagCalls_; }
    int versionCalls() const { return versionCalls_; }

  private:
    uint32_t platformId_ = 1;
    bool running_ = false;
    std::vector<bool> flagCalls_;
    int versionCalls_ = 0;
};

}  // namespace pictavo::platform::headless
