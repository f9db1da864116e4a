#pragma once
// A settings store held in memory: for tests and for tools that must not
// touch the user's settings.

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/settings_store.h"

namespace pictavo::settings {

class MemorySettingsStore : public platform::SettingsStore {
  public:
    using Address = std::tuple<std::string, std::string, std::string>;

    std::optional<std::string> read(const std::string& application, const std::string& section,
                                    const std::string& key) const override;
    Result<void> write(const std::string& application, const std::string& section,
                       const std::string& key, const std::string& text) override;

    const std::map<Address, std::string>& values() const { return values_; }
    // Every write in the order it came, as "section/key=text".
    const std::vector<std::string>& writeLog() const { return writeLog_; }
    // Makes every later write fail, as a full disk or a locked registry would.
    void failWrites(bool fail) { failWrites_ = fail; }

  private:
    std::map<Address, std::string> values_;
    std::vector<std::string> writeLog_;
    bool failWrites_ = false;
};

}  // namespace pictavo::settings
