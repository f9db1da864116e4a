#pragma once
// A registry in memory, with values of text or 32-bit number type.

#include <map>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace pictavo::platform::headless {

class HeadlessRegistry : public Registry {
  public:
    long openKey(uint32_t root, const std::string& subKey, RegistryKey& key) override;
    long queryValue(RegistryKey key, const std::string& valueName, uint32_t& type,
                    std::vector<uint8_t>& buffer, uint32_t& size) override;
    void closeKey(RegistryKey key) override;

    // Stores text as the system would: its bytes and a terminating zero.
    void setString(uint32_t root, const std::string& subKey, const std::string& name,
                   const std::string& text);
    void setDword(uint32_t root, const std::string& subKey, const std::string& name,
                  uint32_t value);
    // Creates the key without values.
    void addKey(uint32_t root, const std::string& subKey);
    int openKeys() const { return static_cast<int>(open_.size()); }

  private:
    struct Value {
        uint32_t type = 0;
        std::vector<uint8_t> data;
    };
    using KeyName = std::pair<uint32_t, std::string>;
    std::map<KeyName, std::map<std::string, Value>> keys_;
    std::map<RegistryKey, KeyName> open_;
    RegistryKey nextKey_ = 1;
};

}  // namespace pictavo::platform::headless
