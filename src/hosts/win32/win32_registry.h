#pragma once
// Read-only registry access through the A functions: key and value names go
// over in the ANSI code page, values come back as raw bytes.

#include "platform/registry.h"

namespace pictavo::platform::win32 {

class Win32Registry : public Registry {
  public:
    long openKey(uint32_t root, const std::string& subKey, RegistryKey& key) override;
    long queryValue(RegistryKey key, const std::string& valueName, uint32_t& type,
                    std::vector<uint8_t>& buffer, uint32_t& size) override;
    void closeKey(RegistryKey key) override;
};

}  // namespace pictavo::platform::win32
