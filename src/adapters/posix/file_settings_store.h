#pragma once
// The saver's settings on Linux: $XDG_CONFIG_HOME/pictavo/settings.ini
// (by default ~/.config/pictavo/settings.ini), one section per application
// and section, "Brackenfeld Applications\Pictavo".

#include <string>

#include "platform/settings_store.h"

namespace pictavo::platform::posix {

class FileSettingsStore : public SettingsStore {
  public:
    explicit FileSettingsStore(std::string path) : path_(std::move(path)) {}

    std::optional<std::string> read(const std::string& application, const std::string& section,
                                    const std::string& key) const override;
    // Reads the file afresh, changes one value and replaces the file
    // atomically, so values other programs wrote meanwhile are kept.
    Result<void> write(const std::string& application, const std::string& section,
                       const std::string& key, const std::string& text) override;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// $XDG_CONFIG_HOME/pictavo, or ~/.config/pictavo.
std::string configFolder();

}  // namespace pictavo::platform::posix
