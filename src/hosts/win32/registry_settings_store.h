#pragma once
// The saver's settings in the current user's registry: one key per
// application and section under HKEY_CURRENT_USER\Software, one string value
// per setting. Names and texts go over as UTF-16.

#include "platform/settings_store.h"

namespace pictavo::platform::win32 {

class RegistrySettingsStore : public SettingsStore {
  public:
    // A value of another type than a string counts as absent.
    std::optional<std::string> read(const std::string& application, const std::string& section,
                                    const std::string& key) const override;
    // One value is set by one registry call, which the registry applies whole
    // or not at all.
    Result<void> write(const std::string& application, const std::string& section,
                       const std::string& key, const std::string& text) override;

    // The key path below HKEY_CURRENT_USER.
    static std::string keyPath(const std::string& application, const std::string& section);
};

}  // namespace pictavo::platform::win32
