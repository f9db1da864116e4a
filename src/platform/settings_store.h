#pragma once
// The per-user store of the saver's own settings: text by application,
// section and key.

#include <optional>
#include <string>

#include "common/result.h"

namespace pictavo::platform {

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The stored text, or nullopt when the application, section or key is
    // absent. Reading never creates anything.
    virtual std::optional<std::string> read(const std::string& application,
                                            const std::string& section,
                                            const std::string& key) const = 0;
    // Stores text, creating application and section as needed. Either the
    // whole store is updated or nothing changes.
    virtual Result<void> write(const std::string& application, const std::string& section,
                               const std::string& key, const std::string& text) = 0;
};

}  // namespace pictavo::platform
